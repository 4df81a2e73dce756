// interactive: an operator at the logger, one line at a time. The lines are
// read on a thread of their own, so that this thread keeps running the
// message loop while it waits: the statistics window stays alive (it paints,
// its button works, its close box minimises it) as it does in a logger.
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <variant>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <utility>

#include "hostkit/HostWindows.h"
#include "velmora-host/HostCommands.h"
#include "window/Win32Handles.h"

namespace {

constexpr char kInteractiveHelp[] =
    "Commands:\n"
    "  CALL BAND MODE [EXCHANGE...]  enter a contact: preview its score (_GetScore),\n"
    "                 then log it (_AddQSO) and store it in the log table\n"
    "                 CALL: letters, digits and '/', at least one digit; BAND: a\n"
    "                 number as the logger writes it (160, 80, 40, 1.8); MODE:\n"
    "                 letters and digits (CW, SSB, FT8)\n"
    "  grab CALL      the member number of CALL (_GrabNumber)\n"
    "  list           the log table's contacts with their row numbers\n"
    "  delete ROW     remove contact ROW (as 'list' numbers it) from the log table,\n"
    "                 as an operator edits the log; the statistics change at the\n"
    "                 next 'recalc', as in the logger\n"
    "  recalc         press \"Recalc Statistic\" and show the report\n"
    "  report         show the window's report\n"
    "  run            open the statistics window (_Run) and show the report\n"
    "  close          send the window a close request (WM_CLOSE)\n"
    "  release        give the window up (_Release)\n"
    "  help           this text\n"
    "  quit           give the window up, unload the plug-in and leave\n";

// Reads one line each time it is asked to, so that a script piped in is
// taken line by line and never runs ahead of the commands before it.
class TLineReader {
public:
    explicit TLineReader(std::istream& in) : In_(in)
    {
        // A tied stream would be flushed from the reading thread while this
        // thread writes to it; the session flushes after every answer itself.
        In_.tie(nullptr);
        Thread_ = std::thread([this] { Read(); });
    }
    ~TLineReader()
    {
        {
            std::lock_guard<std::mutex> lock(Mutex_);
            Stopping_ = true;
        }
        SetEvent(Wanted_.Get());
        Thread_.join();
    }
    TLineReader(const TLineReader&) = delete;
    TLineReader& operator=(const TLineReader&) = delete;

    void Request() { SetEvent(Wanted_.Get()); }
    // Signalled when the line asked for (or the end of the input) is there.
    HANDLE Ready() const { return Ready_.Get(); }
    // The line, without its line break; none at the end of the input.
    std::optional<std::string> Take()
    {
        std::lock_guard<std::mutex> lock(Mutex_);
        return std::exchange(Line_, std::nullopt);
    }

private:
    void Read()
    {
        for (;;) {
            WaitForSingleObject(Wanted_.Get(), INFINITE);
            std::string line;
            const bool got = static_cast<bool>(std::getline(In_, line));
            {
                std::lock_guard<std::mutex> lock(Mutex_);
                if (Stopping_)
                    return;
                if (got) {
                    if (!line.empty() && line.back() == '\r')
                        line.pop_back();
                    Line_ = std::move(line);
                }
            }
            SetEvent(Ready_.Get());
            if (!got)
                return;
        }
    }

    std::istream& In_;
    TScopedKernelHandle Wanted_ = MakeEvent();
    TScopedKernelHandle Ready_ = MakeEvent();
    std::mutex Mutex_;
    std::optional<std::string> Line_;
    bool Stopping_ = false;
    std::thread Thread_;
};

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The rest of the line after its first `count` words, leading blanks dropped.
std::string AfterWords(const std::string& line, std::size_t count)
{
    std::size_t at = 0;
    for (std::size_t word = 0; word < count; ++word) {
        at = line.find_first_not_of(" \t", at);
        at = line.find_first_of(" \t", at);
        if (at == std::string::npos)
            return {};
    }
    at = line.find_first_not_of(" \t", at);
    return at == std::string::npos ? std::string() : line.substr(at);
}

std::string Points(std::int32_t result)
{
    if (result < 0)
        return "duplicate";
    return std::to_string(result) + (result == 1 ? " point" : " points");
}

class TInteractiveSession {
public:
    TInteractiveSession(hostkit::THostSession& host, std::ostream& out) : Host_(host), Out_(out) {}

    // False when the session is over.
    bool Handle(const std::string& line)
    {
        const std::vector<std::string> words = Words(line);
        if (words.empty())
            return true;
        const std::string command = Lower(words.front());
        if (words.size() == 1 && (command == "quit" || command == "exit"))
            return false;
        if (const auto usage = CommandUsage(command)) {
            if (words.size() != usage->Words)
                Refuse(line, "'" + command + "' " + usage->Text);
            else
                Command(command, words);
        } else if (words.size() >= 3) {
            if (const auto problem = ContactProblem(words[0], words[1], words[2]))
                Refuse(line, *problem);
            else
                Enter(words[0], words[1], words[2], AfterWords(line, 3));
        } else {
            Out_ << "not understood: '" << line << "' (type 'help' for the commands)\n";
        }
        hostkit::PumpMessages();
        Out_ << std::flush;
        return true;
    }

    void Run()
    {
        const HWND window = Host_.Run();
        hostkit::PumpMessages();
        if (!window) {
            Out_ << "the plug-in opened no window\n";
            return;
        }
        ShowReport();
    }

private:
    struct TUsage {
        std::size_t Words;
        const char* Text;
    };

    // The command words, which no contact can start with: a mistyped
    // command is refused, never logged as a contact.
    static std::optional<TUsage> CommandUsage(const std::string& command)
    {
        static const struct {
            const char* Name;
            TUsage Usage;
        } commands[] = {
            {"help", {1, "takes nothing"}},    {"run", {1, "takes nothing"}},      {"report", {1, "takes nothing"}},
            {"recalc", {1, "takes nothing"}},  {"close", {1, "takes nothing"}},    {"release", {1, "takes nothing"}},
            {"list", {1, "takes nothing"}},    {"quit", {1, "takes nothing"}},     {"exit", {1, "takes nothing"}},
            {"grab", {2, "takes one call: grab CALL"}}, {"delete", {2, "takes one row number: delete ROW"}},
        };
        for (const auto& each : commands)
            if (command == each.Name)
                return each.Usage;
        return std::nullopt;
    }

    void Command(const std::string& command, const std::vector<std::string>& words)
    {
        if (command == "help")
            Out_ << kInteractiveHelp;
        else if (command == "run")
            Run();
        else if (command == "report")
            ShowReport();
        else if (command == "recalc")
            Recalc();
        else if (command == "close")
            Close();
        else if (command == "release")
            Release();
        else if (command == "list")
            List();
        else if (command == "grab")
            Out_ << "member number of " << words[1] << ": " << Shown(Host_.Grab(words[1])) << "\n";
        else if (command == "delete")
            Delete(words[1]);
    }

    void Refuse(const std::string& line, const std::string& why)
    {
        Out_ << "not understood: '" << line << "': " << why << "; nothing changed (type 'help' for the commands)\n";
    }

    void List()
    {
        const hostado::TLogTable& table = Host_.Table;
        if (table.RowCount() == 0) {
            Out_ << "the log table holds no contacts\n";
            return;
        }
        for (std::size_t row = 0; row < table.RowCount(); ++row)
            Out_ << row + 1 << "\t" << ContactText(row) << "\n";
    }

    void Delete(const std::string& rowText)
    {
        const std::size_t count = Host_.Table.RowCount();
        std::size_t row = 0;
        bool number = !rowText.empty() && rowText.size() <= 9;
        for (const char c : rowText) {
            if (c < '0' || c > '9')
                number = false;
            else
                row = row * 10 + static_cast<std::size_t>(c - '0');
        }
        if (!number || row == 0 || row > count) {
            Out_ << "no row '" << rowText << "': the log table holds " << count << (count == 1 ? " contact" : " contacts")
                 << " ('list' shows them); nothing changed\n";
            return;
        }
        const std::string removed = ContactText(row - 1);
        Host_.Table.RemoveRow(row - 1);
        Out_ << "row " << row << " deleted (" << removed
             << "); the statistics change when \"Recalc Statistic\" is pressed ('recalc')\n";
    }

    // CALL BAND MODE EXCHANGE of a table row, blanks between.
    std::string ContactText(std::size_t row) const
    {
        const hostado::TLogTable& table = Host_.Table;
        std::string text;
        for (const char* column : {"CallSign", "DigiBand", "QSOMode", "QSOReportRecived"}) {
            const std::optional<std::size_t> at = table.FindColumn(column);
            if (!at)
                continue;
            const hostado::TCell& cell = table.Cell(row, *at);
            std::string value;
            if (const auto* textValue = std::get_if<std::string>(&cell))
                value = *textValue;
            else if (const auto* numberValue = std::get_if<std::int32_t>(&cell))
                value = std::to_string(*numberValue);
            if (!text.empty())
                text += ' ';
            text += value;
        }
        return text;
    }

    static std::string Shown(const std::string& number) { return number.empty() ? "(none)" : number; }

    bool HasWindow()
    {
        if (Host_.Window)
            return true;
        Out_ << "the plug-in has no window ('run' opens one)\n";
        return false;
    }

    void ShowReport()
    {
        if (HasWindow())
            Out_ << Host_.Report() << "\n";
    }

    void Recalc()
    {
        if (!HasWindow())
            return;
        Host_.Recalc();
        Out_ << Host_.Report() << "\n";
    }

    void Close()
    {
        if (!HasWindow())
            return;
        Host_.CloseWindow();
        Out_ << "the window was asked to close; the plug-in has no window now\n";
    }

    void Release()
    {
        const bool had = Host_.Window != nullptr;
        Host_.Release();
        Out_ << (had ? "the window was given up; the plug-in has no window now\n"
                     : "_Release called; there was no window\n");
    }

    void Enter(const std::string& call, const std::string& band, const std::string& mode, const std::string& exchange)
    {
        const TLogRow contact = hostkit::EnteredContact(call, band, mode, exchange);
        const std::int32_t preview = Host_.Preview(contact);
        const std::int32_t result = Host_.Log(contact);
        Out_ << call << " " << band << " " << mode << ": preview " << Points(preview) << ", logged " << Points(result);
        if (!Host_.Window)
            Out_ << " (the plug-in has no window and scores nothing; the contact is in the log)";
        Out_ << "\n";
    }

    hostkit::THostSession& Host_;
    std::ostream& Out_;
};

bool AllOf(const std::string& text, bool (*allowed)(char))
{
    for (const char c : text)
        if (!allowed(c))
            return false;
    return !text.empty();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsCallCharacter(char c) { return IsDigit(c) || IsLetter(c) || c == '/'; }
bool IsModeCharacter(char c) { return IsDigit(c) || IsLetter(c); }

}  // namespace

std::optional<std::string> ContactProblem(const std::string& call, const std::string& band, const std::string& mode)
{
    // Every amateur call has a digit; words like "show" or "list" have none.
    if (!AllOf(call, IsCallCharacter) || call.find_first_of("0123456789") == std::string::npos)
        return "'" + call + "' is not a call (letters, digits and '/', with a digit)";
    const std::size_t point = band.find('.');
    const std::string whole = band.substr(0, point);
    const std::string fraction = point == std::string::npos ? "0" : band.substr(point + 1);
    if (!AllOf(whole, IsDigit) || !AllOf(fraction, IsDigit))
        return "'" + band + "' is not a band (a number such as 20 or 1.8)";
    if (!AllOf(mode, IsModeCharacter) || !IsLetter(mode.front()))
        return "'" + mode + "' is not a mode (letters and digits, such as CW, SSB or FT8)";
    return std::nullopt;
}

namespace {

bool InputIsConsole()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != FALSE;
}

}  // namespace

int RunInteractive(hostkit::THostSession& host, const THostContext& context, std::istream& in)
{
    std::ostream& out = context.Out;
    host.AddRows(context.Rows);
    if (context.Options.LogPath)
        context.Err << "velmora-host: " << context.Rows.size() << " contacts from " << *context.Options.LogPath
                    << " in table " << context.Options.Table << "\n";

    TInteractiveSession session(host, out);
    session.Run();
    out << "type 'help' for the commands\n";

    // At a console the operator sees a prompt; a script piped in is echoed
    // instead, so the transcript shows what each answer answers.
    const bool console = InputIsConsole();
    const auto prompt = [&] {
        if (console)
            out << "velmora-host> ";
        out << std::flush;
    };
    prompt();
    TLineReader reader(in);
    reader.Request();
    HANDLE ready = reader.Ready();
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &ready, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0) {
            if (!hostkit::PumpMessages())
                break;
            continue;
        }
        const std::optional<std::string> line = reader.Take();
        if (!line) {
            if (console)
                out << "\n";
            break;
        }
        if (!console)
            out << "> " << *line << "\n";
        if (!session.Handle(*line))
            break;
        prompt();
        reader.Request();
    }
    out << std::flush;
    return host.Boxes.CaughtCount() > 0 ? kExitPluginTrouble : kExitOk;
}
