#pragma once
// Shared set-up of every test program: a private home directory, settings store and runtime
// directory, the offscreen platform; for the tests of windows also one Qt application and one
// toolkit application. The tests of the cores run on Qt Core alone.
#include <QByteArray>
#include <QString>

namespace testenv {

// The private home directory of this test program.
QString home();
// The path of `name` in the private home, with whatever an earlier run left there removed.
QString freshDirectory(const QString& name);
// Empties the settings store.
void clearSettings();
// Where the built program and its window resource files are.
QString binDir();
// Runs every pending event of the toolkit and of Qt, without waiting (window tests only).
void pump();
// The bytes of the file at `path`. A missing file reads as "(missing)", which no file the tests
// compare holds, so a file that was never written does not pass for an empty one.
QByteArray fileBytes(const QString& path);
// Makes `path` the home of the test program: settings store, runtime directory, no display.
void useHome(const QString& path);

}  // namespace testenv

namespace testenv {
// Creates and removes the toolkit application object used by all tests.
void installToolkit(int argc, char** argv);
void removeToolkit();
}  // namespace testenv
