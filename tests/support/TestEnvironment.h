#pragma once
// Shared set-up of every test program: a private home directory, settings store and runtime
// directory, the offscreen platform, one Qt application and one toolkit application.
#include <QString>

namespace testenv {

// The private home directory of this test program.
QString home();
// Empties the settings store.
void clearSettings();
// Where the built program and its window resource files are.
QString binDir();
// Runs every pending event of the toolkit and of Qt, without waiting.
void pump();

}  // namespace testenv

namespace testenv {
// Creates and removes the toolkit application object used by all tests.
void installToolkit(int argc, char** argv);
void removeToolkit();
}  // namespace testenv
