#pragma once
// The toolkit's application object: the command line, and the event manager, window manager,
// display, default resource reader and data manager that every window uses.
#include <QStringList>
#include <memory>

class UserPersist;
class ZafDisplay;
class ZafEventManager;
class ZafWindowManager;

class ZafApplication {
public:
    ZafApplication(int argc, char** argv);
    ~ZafApplication();
    ZafApplication(const ZafApplication&) = delete;
    ZafApplication& operator=(const ZafApplication&) = delete;

    static ZafApplication* Instance();

    int argc;
    char** argv;
    // The words of the command line; the first is the executable's full path.
    QStringList Arguments() const { return arguments_; }

    ZafEventManager* EventManager() const { return eventManager_.get(); }
    ZafWindowManager* WindowManager() const { return windowManager_.get(); }
    ZafDisplay* Display() const { return display_.get(); }

    UserPersist* DefaultReader() const { return defaultReader_; }
    void SetDefaultReader(UserPersist* reader) { defaultReader_ = reader; }

private:
    QStringList arguments_;
    std::unique_ptr<ZafEventManager> eventManager_;
    std::unique_ptr<ZafWindowManager> windowManager_;
    std::unique_ptr<ZafDisplay> display_;
    UserPersist* defaultReader_ = nullptr;
};

ZafApplication* zafApplication();
ZafEventManager* zafEventManager();
ZafWindowManager* zafWindowManager();
ZafDisplay* zafDisplay();

// Splits a command line into words: blanks separate words, a double-quoted run is one word.
QStringList SplitCommandLine(const QString& commandLine);

// The process entry: builds the application object and calls the program's Main with it.
int ZafEntry(int argc, char** argv, int (*main)(ZafApplication&));
