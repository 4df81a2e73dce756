#include "window/FormStorage.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "window/PlacementNumbers.h"

namespace {

const std::string kFormVersion = "FormVersion";
const std::string kFlags = "Flags";
const std::string kShowCmd = "ShowCmd";
const std::string kPixelsPerInch = "PixelsPerInch";
const std::string kMinMaxPos = "MinMaxPos";
const std::string kNormPos = "NormPos";
const std::string kVisible = "Visible";
const std::string kCurrentBand = "CurrentBand";

// The layout this store writes; a stored version below 0 marks data that
// must not be read.
const std::string kThisFormVersion = "0";

// The values of the section being loaded. Without a section every value
// reads as missing.
class TStoredValues {
public:
    explicit TStoredValues(TPlacementKey* section) : Section_(section) {}

    std::string Text(const std::string& name, const std::string& defaultText) const
    {
        if (!Section_)
            return defaultText;
        TRegistryTextRead read = Section_->ReadText(name);
        switch (read.Status) {
        case TRegistryReadStatus::Text:
            return std::move(read.Text);
        case TRegistryReadStatus::Missing:
            return defaultText;
        case TRegistryReadStatus::WrongType:
            throw TPlacementError("Invalid data type for '" + name + "'");
        case TRegistryReadStatus::Failed:
            break;
        }
        throw TPlacementError("Failed to get data for '" + name + "'");
    }

    // An empty text is no number either, so missing and empty alike give
    // the default.
    std::int32_t Number(const std::string& name, std::int32_t defaultValue) const
    {
        return ReadPlacementNumber(Text(name, std::string()), defaultValue);
    }

    // The value for this screen size when there is one, else the one the
    // latest save wrote for whatever screen it ran on.
    std::string PositionText(const std::string& name, const std::string& suffix) const
    {
        std::string text = Text(name + suffix, std::string());
        if (text.empty())
            text = Text(name, std::string());
        return text;
    }

private:
    TPlacementKey* Section_;
};

class TValueWriter {
public:
    explicit TValueWriter(TPlacementKey& section) : Section_(section) {}

    void Write(const std::string& name, const std::string& text) const
    {
        if (!Section_.WriteText(name, text))
            throw TPlacementError("Failed to set data for '" + name + "'");
    }

    void WriteNumber(const std::string& name, int value) const
    {
        Write(name, std::to_string(value));
    }

private:
    TPlacementKey& Section_;
};

// A minimised window is brought back in the normal state: coming up as a
// taskbar button only would look as if the window had not opened.
TWindowState StateFromShowCmd(std::int32_t showCmd)
{
    return showCmd == kShowCmdMaximized ? TWindowState::Maximized : TWindowState::Normal;
}

}  // namespace

TFormStorage::TFormStorage(TPlacementRegistry& registry, TPlacementWindow& window,
                           std::string section)
    : Registry_(registry), Window_(window), Section_(std::move(section))
{
}

void TFormStorage::LoadPlacement()
{
    LoadStoredValues();
    MoveMaximizedFrameOffScreen();
}

void TFormStorage::LoadStoredValues()
{
    // The keys close when this function is left, by any path.
    const std::unique_ptr<TPlacementKey> application = Registry_.OpenApplicationKey();
    const std::unique_ptr<TPlacementKey> section =
        application ? application->OpenSubKeyForReading(Section_) : nullptr;
    const TStoredValues values(section.get());

    if (values.Number(kFormVersion, 0) < 0) {
        LoadCompleted_ = true;
        return;
    }

    // The load runs before the window shows itself; handing the record back
    // with its own show command would show the window ahead of time.
    TPlacementRecord record = Window_.GetPlacement();
    record.ShowCmd = kShowCmdHide;
    record.Flags = values.Number(kFlags, record.Flags);

    const TScreenMetrics screen = Window_.Screen();
    const std::string suffix = ScreenSuffix(screen.Width, screen.Height);
    bool dataFound = false;

    const std::string minMaxText = values.PositionText(kMinMaxPos, suffix);
    if (!minMaxText.empty()) {
        const std::vector<std::string> words = SplitPlacementWords(minMaxText);
        record.MinPosition.X = PlacementWordOrDefault(words, 0, 0);
        record.MinPosition.Y = PlacementWordOrDefault(words, 1, 0);
        record.MaxPosition.X = PlacementWordOrDefault(words, 2, 0);
        record.MaxPosition.Y = PlacementWordOrDefault(words, 3, 0);
        dataFound = true;
    }

    const std::string normText = values.PositionText(kNormPos, suffix);
    if (!normText.empty()) {
        const std::vector<std::string> words = SplitPlacementWords(normText);
        const TWindowBounds bounds = Window_.Bounds();
        TPlacementRect& normal = record.NormalPosition;
        normal.Left = PlacementWordOrDefault(words, 0, bounds.Left);
        normal.Top = PlacementWordOrDefault(words, 1, bounds.Top);
        normal.Right = PlacementWordOrDefault(words, 2, bounds.Left + bounds.Width);
        normal.Bottom = PlacementWordOrDefault(words, 3, bounds.Top + bounds.Height);
        dataFound = true;
    }

    // Positions saved at another screen density would put the window at the
    // wrong place and size, so they are dropped; the rest still applies.
    if (values.Number(kPixelsPerInch, screen.PixelsPerInch) != screen.PixelsPerInch)
        dataFound = false;

    if (dataFound && record.NormalPosition.Right > record.NormalPosition.Left)
        Window_.SetPlacement(record);

    Window_.SetWindowState(StateFromShowCmd(values.Number(kShowCmd, 0)));

    // The placement is in; a bad CurrentBand must not stop later saves.
    LoadCompleted_ = true;
    CurrentBand_ = values.Text(kCurrentBand, CurrentBand_);
}

// A maximised sizeable window puts its frame past the screen's edges, so the
// client area reaches them; the maximised position is fixed to that offset
// whatever was stored.
void TFormStorage::MoveMaximizedFrameOffScreen()
{
    TPlacementRecord record = Window_.GetPlacement();
    record.ShowCmd = kShowCmdHide;
    const TFrameThickness frame = Window_.SizeableFrame();
    record.MaxPosition.X = -frame.X;
    record.MaxPosition.Y = -frame.Y;
    Window_.SetPlacement(record);
}

void TFormStorage::StorePlacement()
{
    if (!LoadCompleted_)
        return;

    const std::unique_ptr<TPlacementKey> application = Registry_.OpenApplicationKey();
    const std::unique_ptr<TPlacementKey> section =
        application ? application->CreateSubKey(Section_) : nullptr;
    if (!section)
        throw TPlacementError("Failed to create key " + Section_);
    const TValueWriter values(*section);

    values.Write(kFormVersion, kThisFormVersion);

    const TPlacementRecord record = Window_.GetPlacement();
    const TScreenMetrics screen = Window_.Screen();
    const std::string suffix = ScreenSuffix(screen.Width, screen.Height);
    const std::string minMaxText =
        FormatPlacementNumbers(record.MinPosition.X, record.MinPosition.Y,
                               record.MaxPosition.X, record.MaxPosition.Y);
    const TPlacementRect& normal = record.NormalPosition;
    const std::string normText =
        FormatPlacementNumbers(normal.Left, normal.Top, normal.Right, normal.Bottom);

    values.WriteNumber(kFlags, record.Flags);
    values.WriteNumber(kShowCmd, record.ShowCmd);
    values.WriteNumber(kPixelsPerInch, screen.PixelsPerInch);
    values.Write(kMinMaxPos + suffix, minMaxText);
    values.Write(kMinMaxPos, minMaxText);
    values.Write(kNormPos + suffix, normText);
    values.Write(kNormPos, normText);
    values.Write(kVisible, Destroying_ ? "1" : "0");
    values.Write(kCurrentBand, CurrentBand_);

    Saved_ = true;
}

void TFormStorage::StorePlacementOnDestroy()
{
    Destroying_ = true;
    if (!Saved_)
        StorePlacement();
}
