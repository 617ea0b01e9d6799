#pragma once
// The program's entry: opens the window resource files, builds the main window, sets up the
// unit link and runs the event loop.
#include <QString>

class ZafApplication;
class UserPersist;

namespace tolm {

// Called by the toolkit with its application object; creates the Qt application. Returns the
// process exit code.
int Main(ZafApplication& application);

// Everything after the Qt application exists, with the window resource files looked up in
// resourceDirectory. Returns 0 after a normal end, 1 when a resource file is missing.
int RunProgram(ZafApplication& application, const QString& resourceDirectory);

// The reader over "/Tolm.znc" (the login dialog's window), while the program runs; tests that
// build the main window on their own install one.
UserPersist* tolmResourceReader();
void setTolmResourceReader(UserPersist* reader);

}  // namespace tolm
