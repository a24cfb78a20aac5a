#pragma once

#include <QVariantMap>

// Whether the program sets up shared GL contexts before its application object exists. Qt then
// makes a GL context at once, which loads the whole GL stack (with a software renderer, tens of
// megabytes) before the window; only a configuration whose window shows web pages without being
// asked needs it. A page opened later (the local home page) loads the web engine with its first
// view, which then composes its pages without a shared context.
namespace WebContentProbe {

// Whether these settings put web pages in the window from the start: the Internet tab's split
// layout, advertisement, embedded page or special page.
bool settingsShowWebContent(const QVariantMap &settings);

// The decision for this process, taken before QApplication exists: QEL_SHARE_GL_CONTEXTS ("1" or
// "0") decides when set; otherwise false without the web engine plug-in (or with QEL_WEBENGINE=0)
// and else what the settings the program will read say.
bool shareGlContexts();

} // namespace WebContentProbe
