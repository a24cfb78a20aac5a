#pragma once

// Tells the user about a message list the program could not read, so that an inbox that reads
// empty is never taken for one that is: a non-blocking alert names the file and says whether it
// was kept beside (damaged) or left in place (too large, unreadable). Each file and kind (and each
// copy kept beside) is told once per run however often it is read. Reports from any thread are shown on the main
// thread.
namespace ListFileNotices {

// Installs the notices as ListFile's report handler (the program does this once at start).
void install();
// Removes them again (tests), and forgets what was told.
void uninstall();

} // namespace ListFileNotices
