#pragma once

// The dial-parameter record the program sends before a connect (module 2, 257/61): 920 bytes,
// zero-filled, little-endian. Texts are UTF-8 and NUL-terminated inside their field. Both the
// program's encoder and the simulated backend's decoder use these offsets.
namespace DialParamsLayout {
inline constexpr int kRecordSize = 920;
inline constexpr int kMajor = 257;
inline constexpr int kMinor = 61;
inline constexpr int kModule = 2;

struct TextField {
  int offset;
  int width;
};
inline constexpr TextField kApnName{0, 128};
inline constexpr TextField kTelNumber{128, 128};
inline constexpr TextField kAccountName{256, 128};
inline constexpr TextField kPassword{384, 128};
inline constexpr TextField kPdpAddress{512, 64};
inline constexpr int kConnectType = 576;
inline constexpr int kPppFlag = 580;
inline constexpr int kPdpType = 584;
inline constexpr int kPdpFlag = 588;
inline constexpr int kDisableAlert = 592;
inline constexpr int kMtu = 596;
inline constexpr TextField kIPv6ApnName{600, 128};
inline constexpr TextField kPreDns{728, 32};
inline constexpr TextField kAltDns{760, 32};
inline constexpr TextField kIPv6PrefDns{792, 64};
inline constexpr TextField kIPv6AltDns{856, 64};
} // namespace DialParamsLayout
