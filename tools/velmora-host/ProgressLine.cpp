#include "velmora-host/ProgressLine.h"

#include <cstdio>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Quiet for work that ends within this time.
constexpr milliseconds kQuietTime{1000};
constexpr milliseconds kConsoleInterval{250};
constexpr milliseconds kFileInterval{5000};

std::string Seconds(steady_clock::duration elapsed)
{
    char text[32];
    (void)std::snprintf(text, sizeof text, "%.1f s", std::chrono::duration<double>(elapsed).count());
    return text;
}

}  // namespace

bool ErrorIsConsole()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

TProgressLine::TProgressLine(std::ostream& err, std::string what, std::size_t total)
    : Err_(err), What_(std::move(what)), Total_(total), Console_(ErrorIsConsole()), Start_(steady_clock::now()),
      LastShown_(Start_)
{
}

TProgressLine::~TProgressLine()
{
    if (Shown_) {
        Show(Total_);
        Err_ << (Console_ ? "\n" : "") << std::flush;
    }
}

void TProgressLine::Update(std::size_t done)
{
    // Reading the clock for every item would cost more than the item.
    if (done % 64 != 0)
        return;
    const auto now = steady_clock::now();
    if (now - Start_ < kQuietTime || now - LastShown_ < (Console_ ? kConsoleInterval : kFileInterval))
        return;
    LastShown_ = now;
    Show(done);
}

void TProgressLine::Show(std::size_t done)
{
    Shown_ = true;
    const std::size_t percent = Total_ == 0 ? 100 : done * 100 / Total_;
    Err_ << (Console_ ? "\r" : "") << "velmora-host: " << What_ << ": " << done << "/" << Total_ << " (" << percent
         << "%), " << Seconds(steady_clock::now() - Start_) << (Console_ ? "" : "\n") << std::flush;
}

TBusyLine::TBusyLine(std::ostream& err, std::string what)
    : Err_(err), What_(std::move(what)), Console_(ErrorIsConsole()), Start_(steady_clock::now()),
      Thread_([this] { Tick(); })
{
}

TBusyLine::~TBusyLine()
{
    {
        std::lock_guard<std::mutex> lock(Mutex_);
        Done_ = true;
    }
    Wake_.notify_one();
    Thread_.join();
    if (Shown_)
        Err_ << (Console_ ? "\r" : "") << "velmora-host: " << What_ << ": done in "
             << Seconds(steady_clock::now() - Start_) << "\n"
             << std::flush;
}

void TBusyLine::Tick()
{
    std::unique_lock<std::mutex> lock(Mutex_);
    if (Wake_.wait_for(lock, kQuietTime, [this] { return Done_; }))
        return;
    const milliseconds interval = Console_ ? kConsoleInterval : kFileInterval;
    do {
        Shown_ = true;
        Err_ << (Console_ ? "\r" : "") << "velmora-host: " << What_ << "... "
             << Seconds(steady_clock::now() - Start_) << (Console_ ? "" : "\n") << std::flush;
    } while (!Wake_.wait_for(lock, interval, [this] { return Done_; }));
}
