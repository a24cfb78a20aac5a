#pragma once

// Whether the program sets up shared GL contexts before its application object exists. Qt then
// makes a GL context at once, which loads the whole GL stack (with a software renderer, tens of
// megabytes) before the window. The web engine needs that context, but the program makes it
// itself just before the engine loads with the first web view (WebViewUtilities), so a run that
// shows no web page never loads GL. QEL_SHARE_GL_CONTEXTS=1 asks for the old way, at start.
namespace WebContentProbe {

bool shareGlContextsAtStart();

} // namespace WebContentProbe
