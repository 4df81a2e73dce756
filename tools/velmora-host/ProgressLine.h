// A progress line on stderr for work that takes more than a second: quick
// runs stay silent. On a console the line is rewritten in place; into a file
// or pipe a new line is written now and then instead, so logs stay readable.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

// Counted work the caller steps through: "replaying: 5000/100000 contacts".
class TProgressLine {
public:
    TProgressLine(std::ostream& err, std::string what, std::size_t total);
    // Ends the line when one was shown.
    ~TProgressLine();
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

    // Cheap enough to call for every item.
    void Update(std::size_t done);

private:
    void Show(std::size_t done);

    std::ostream& Err_;
    std::string What_;
    std::size_t Total_;
    bool Console_;
    bool Shown_ = false;
    std::chrono::steady_clock::time_point Start_;
    std::chrono::steady_clock::time_point LastShown_;
};

// One long call the caller cannot step through (the plug-in rebuilding
// inside _Run): a thread of its own shows the time taken so far.
class TBusyLine {
public:
    TBusyLine(std::ostream& err, std::string what);
    // Stops the thread; when a line was shown, ends it with the time taken.
    ~TBusyLine();
    TBusyLine(const TBusyLine&) = delete;
    TBusyLine& operator=(const TBusyLine&) = delete;

private:
    void Tick();

    std::ostream& Err_;
    std::string What_;
    bool Console_;
    bool Shown_ = false;
    std::chrono::steady_clock::time_point Start_;
    std::mutex Mutex_;
    std::condition_variable Wake_;
    bool Done_ = false;
    std::thread Thread_;
};

// True when stderr is a console (the line can be rewritten in place).
bool ErrorIsConsole();
