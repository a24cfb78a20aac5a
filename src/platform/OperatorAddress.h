#pragma once

#include <QString>
#include <QUrl>

// The operator's servers (speed test, number service, extender pages) sit behind one address:
// the loopback port the simulated modem serves unless QEL_OPERATOR_URL names another. The program
// hands the address it uses to the backend, so both sides always meet on the same port.
namespace OperatorAddress {
inline constexpr const char *kVariable = "QEL_OPERATOR_URL";
inline constexpr const char *kDefault = "http://127.0.0.1:7002";
// The folder of the operator's extender pages ("extender1.xhtml", "extender2.xhtml"), which take
// the query keys msisdn and imsi.
inline constexpr const char *kExtenderPath = "/extender/";

// The scheme, host and port, without a trailing slash; the default when the variable is empty or
// not an absolute http address.
QUrl base();
// `path` (starting with "/", may carry a query) on that host.
QString url(const QString &path);
} // namespace OperatorAddress
