#pragma once

// Whether the program sets up shared GL contexts before its application object exists. Qt then
// makes a GL context at once, which loads the whole GL stack (with a software renderer, tens of
// megabytes) before the window. The web engine needs it from the start: this Qt's engine, loaded
// with the first web view but without a shared context, crashes on an X server. So the contexts
// are shared exactly when a web view can load the engine.
namespace WebContentProbe {

// The decision for this process, taken before QApplication exists: QEL_SHARE_GL_CONTEXTS ("1" or
// "0") decides when set; otherwise true only when the web engine plug-in is in the bundle and not
// turned off (QEL_WEBENGINE=0): without it web views show rich text and need no GL.
bool shareGlContexts();

} // namespace WebContentProbe
