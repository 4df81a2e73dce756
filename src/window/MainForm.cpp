#include "window/MainForm.h"

#include <algorithm>
#include <exception>
#include <set>

#include "members/HostMemberFile.h"
#include "plugin/PluginModule.h"
#include "recalc/AdoLogQuery.h"
#include "recalc/RecalcFromLog.h"
#include "scoring/StatisticReport.h"
#include "window/ErrorBox.h"
#include "window/LocaleCaseFolding.h"
#include "window/MessagePass.h"
#include "window/Win32PlacementRegistry.h"
#include "window/Win32PlacementWindow.h"

namespace {

constexpr char kFormClassName[] = "TfmMainForm";
constexpr char kPanelClassName[] = "TVelmoraCupPanel";
constexpr char kDesignedCaption[] = "Velmora Cup";
constexpr char kRecalcCaption[] = "Recalc Statistic";

// The window as designed, in pixels at 96 pixels per inch.
constexpr int kDesignedLeft = 975;
constexpr int kDesignedTop = 138;
constexpr int kDesignedWidth = 349;
constexpr int kDesignedHeight = 196;
constexpr int kPanelHeight = 23;
constexpr int kButtonTop = 1;
constexpr int kButtonWidth = 106;
constexpr int kButtonHeight = 22;
constexpr int kButtonDistanceFromRight = 105;  // panel 337 wide, button at 232
constexpr int kButtonId = 1;
constexpr int kMemoId = 2;
constexpr BYTE kCyrillicCharset = 204;

// Posted by Release(): the deferred destruction the host's loop delivers.
constexpr UINT WM_RELEASE_FORM = WM_APP + 0x5C1;

// Every window of ours that still has a native window, so unloading the
// library can take them all down.
std::set<TfmMainForm*>& LiveForms()
{
    static std::set<TfmMainForm*> forms;
    return forms;
}

bool ClassesRegistered = false;

// The last line of defence in a window procedure: even the box may fail when
// memory has run out, and nothing may leave through the system's frames.
void ShowErrorBoxFromWindowProc(const char* message) noexcept
{
    try {
        ShowErrorBox(nullptr, message);
    } catch (...) {
    }
}

void RegisterWindowClasses(WNDPROC formProc, WNDPROC panelProc)
{
    if (ClassesRegistered)
        return;
    WNDCLASSEXA form = {};
    form.cbSize = sizeof form;
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = formProc;
    form.hInstance = PluginInstance();
    form.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    form.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClassName;
    if (!RegisterClassExA(&form) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("Cannot register the window class " + std::string(kFormClassName));

    WNDCLASSEXA panel = form;
    panel.style = 0;
    panel.lpfnWndProc = panelProc;
    panel.hIcon = nullptr;
    panel.lpszClassName = kPanelClassName;
    if (!RegisterClassExA(&panel) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("Cannot register the window class " + std::string(kPanelClassName));
    ClassesRegistered = true;
}

HFONT CreatePixelFont(int height, const char* face, BYTE charset, DWORD pitch)
{
    return CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face);
}

}  // namespace

// ---------------------------------------------------------------- creation

TfmMainForm::TfmMainForm(const TPluginData& hostRecord)
{
    RegisterWindowClasses(&TfmMainForm::WindowProc, &TfmMainForm::PanelProc);

    // Always on top, its own taskbar entry and no owner; sizeable, with a
    // minimise box but no maximise box.
    Handle_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_APPWINDOW, kFormClassName, kDesignedCaption,
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                              kDesignedLeft, kDesignedTop, kDesignedWidth, kDesignedHeight, nullptr, nullptr,
                              PluginInstance(), this);
    if (!Handle_)
        throw std::runtime_error("Cannot create the statistics window");

    try {
        CreateControls();
        PlacementRegistry_ = std::make_unique<TWin32PlacementRegistry>();
        PlacementWindow_ = std::make_unique<TWin32PlacementWindow>(
            [this](TWindowState state) { Lifecycle_.PlacementStateLoaded(state == TWindowState::Maximized); },
            Handle_);
        FormStorage1 = std::make_unique<TFormStorage>(*PlacementRegistry_, *PlacementWindow_, kFormClassName);

        State_ = std::make_unique<TScoringState>(&FoldCaseForUserLocale);
        CopyRecord(CurrentData, hostRecord);
        const std::string caption = ReadSlot(CurrentData.CaptionPrefix) + " in " + kDesignedCaption;
        SetWindowTextA(Handle_, caption.c_str());
        LogQuery = std::make_unique<TAdoLogQuery>(reinterpret_cast<IUnknown*>(static_cast<UINT_PTR>(CurrentData.Connection)));
        LoadMemberFile();
        // The member file's error box lets messages through; one of them may
        // have destroyed the native window.
        if (!Lifecycle_.CreationEnds())
            throw std::runtime_error("The statistics window was destroyed while it was being created");
    } catch (...) {
        // The native window must not outlive a half-built object.
        SetWindowLongPtrA(Handle_, GWLP_USERDATA, 0);
        LiveForms().erase(this);
        DestroyWindow(Handle_);
        throw;
    }
}

TfmMainForm::~TfmMainForm() = default;

void TfmMainForm::CreateControls()
{
    ButtonFont_.Reset(CreatePixelFont(11, "MS Sans Serif", DEFAULT_CHARSET, DEFAULT_PITCH | FF_DONTCARE));
    MemoFont_.Reset(CreatePixelFont(11, "Courier New", kCyrillicCharset, FIXED_PITCH | FF_MODERN));

    // Created in tab order: the panel with its button first, then the memo.
    Panel1 = CreateWindowExA(0, kPanelClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, kPanelHeight,
                             Handle_, nullptr, PluginInstance(), nullptr);
    BitBtn1 = CreateWindowExA(0, "BUTTON", kRecalcCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0,
                              kButtonTop, kButtonWidth, kButtonHeight, Panel1,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), PluginInstance(), nullptr);
    // No word wrap (long lines run on to the right) and no scroll bars.
    myStatisticM = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL |
                                       ES_AUTOVSCROLL | ES_WANTRETURN,
                                   0, 0, 0, 0, Handle_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kMemoId)),
                                   PluginInstance(), nullptr);
    if (!Panel1 || !BitBtn1 || !myStatisticM)
        throw std::runtime_error("Cannot create the controls of the statistics window");
    SendMessageA(BitBtn1, WM_SETFONT, reinterpret_cast<WPARAM>(ButtonFont_.Get()), FALSE);
    SendMessageA(myStatisticM, WM_SETFONT, reinterpret_cast<WPARAM>(MemoFont_.Get()), FALSE);
    SendMessageA(myStatisticM, EM_SETLIMITTEXT, 0, 0);  // a long report is never cut
    LayoutControls();
}

void TfmMainForm::LayoutControls()
{
    RECT client;
    GetClientRect(Handle_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int panelTop = std::max(0, height - kPanelHeight);
    MoveWindow(Panel1, 0, panelTop, width, kPanelHeight, TRUE);
    MoveWindow(BitBtn1, width - kButtonDistanceFromRight, kButtonTop, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(myStatisticM, 0, 0, width, panelTop, TRUE);
}

void TfmMainForm::LoadMemberFile()
{
    // A member file that cannot be read is reported, and the window goes on
    // with an empty list: failing here would take the host down with us.
    const std::string path = HostMemberFilePath();
    try {
        State_->MemberList = LoadHostMemberFile(path);
    } catch (const std::exception& error) {
        State_->MemberList.clear();
        ReportError(error.what());
    }
}

// ------------------------------------------------------------ the scoring

std::int32_t TfmMainForm::ScoreQSO(bool add)
{
    return State_ ? State_->Scorer.ScoreQSO(ContactOf(CurrentData), add) : 0;
}

void TfmMainForm::SortQSOList()
{
    if (State_)
        State_->Scorer.SortQSOList();
}

void TfmMainForm::ShowStatistic()
{
    if (!State_)
        return;
    const std::string report = StatisticReportText(State_->Scorer.StatList());
    SetWindowTextA(myStatisticM, report.c_str());
}

std::string TfmMainForm::FindMemberNumber() const
{
    return State_ ? ::FindMemberNumber(State_->MemberList, SlotView(CurrentData.CallSign)) : std::string();
}

// -------------------------------------------------------------- showing

void TfmMainForm::Show()
{
    switch (Lifecycle_.ShowRequested(IsWindowVisible(Handle_) != FALSE)) {
    case TShowStep::BringToFront:
        // Only to the front: no reload, no rebuild, a minimised window stays so.
        SetWindowPos(Handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    case TShowStep::Nothing:
        return;
    case TShowStep::ShowFully:
        break;
    }

    THandlerScope handler(*this);
    try {
        try {
            FormStorage1->LoadPlacement();
        } catch (const std::exception& error) {
            ReportError(error.what());
        }
        FormShow();
    } catch (...) {
        Lifecycle_.ShowEnds();  // the showing is over, though it failed
        throw;
    }
    const TShowOutcome outcome = Lifecycle_.ShowEnds();
    if (!outcome.BecomeVisible)
        return;  // closed meanwhile: stays hidden
    ShowWindow(Handle_, outcome.Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow(Handle_);
    if (outcome.ThenMinimise)
        ShowWindow(Handle_, SW_MINIMIZE);
}

TfmMainForm* TfmMainForm::FormBeingCreated()
{
    for (TfmMainForm* form : LiveForms()) {
        if (form != fmMainForm && form->Lifecycle_.State() == TFormState::Creating)
            return form;
    }
    return nullptr;
}

void TfmMainForm::FormShow()
{
    ExecuteRecalcStatistic();
}

// ------------------------------------------------------------- the action

void TfmMainForm::SetRecalcStatisticEnabled(bool enabled)
{
    RecalcStatisticEnabled = enabled;
    EnableWindow(BitBtn1, enabled ? TRUE : FALSE);
}

void TfmMainForm::ExecuteRecalcStatistic()
{
    if (!RecalcStatisticEnabled || !State_)
        return;
    THandlerScope handler(*this);
    try {
        RecalcStatisticExecute();
    } catch (const std::exception& error) {
        ReportError(error.what());
    } catch (...) {
        ReportError("Unexpected failure while rebuilding the statistic");
    }
}

void TfmMainForm::RecalcStatisticExecute()
{
    PassWaitingMessages();
    SetRecalcStatisticEnabled(false);
    try {
        RecalcFromLog();
        ShowStatistic();
    } catch (...) {
        SetRecalcStatisticEnabled(true);
        throw;
    }
    SetRecalcStatisticEnabled(true);
}

void TfmMainForm::RecalcFromLog()
{
    if (!State_)
        return;
    TRecalcHooks hooks;
    hooks.ClearReport = [this] { SetWindowTextA(myStatisticM, ""); };
    hooks.PassMessages = [] { PassWaitingMessages(); };
    ::RecalcFromLog(CurrentData, State_->Scorer, *LogQuery, hooks);
}

// ------------------------------------------------------- closing and the end

void TfmMainForm::CloseRequest()
{
    if (Lifecycle_.CloseRequested() != TRequestStep::Now)
        return;
    THandlerScope handler(*this);
    FormCloseQuery();
    try {
        FormStorage1->StorePlacement();
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
    FormClose();
    ShowWindow(Handle_, SW_HIDE);
}

void TfmMainForm::FormCloseQuery()
{
    if (LogQuery)
        LogQuery->Close();
    State_.reset();
}

void TfmMainForm::FormClose()
{
    Release();
    if (fmMainForm == this)
        fmMainForm = nullptr;
}

void TfmMainForm::EndSessionQuery()
{
    // The log-off may still be called off, so the placement is saved but the
    // scoring state stays usable.
    if (!Lifecycle_.EndSessionQueried())
        return;
    THandlerScope handler(*this);
    try {
        FormStorage1->StorePlacement();
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
}

void TfmMainForm::FormSysCommand(WPARAM command)
{
    // Only SC_CLOSE itself reaches here.
    (void)command;
    switch (Lifecycle_.SystemCloseRequested(IsWindowVisible(Handle_) != FALSE)) {
    case TSystemCloseStep::Minimise:
        ShowWindow(Handle_, SW_MINIMIZE);
        break;
    case TSystemCloseStep::Show:
        Show();  // minimises the window once it is shown
        break;
    case TSystemCloseStep::Nothing:
    case TSystemCloseStep::Ignore:
        break;
    }
}

void TfmMainForm::Release()
{
    PostMessageA(Handle_, WM_RELEASE_FORM, 0, 0);
}

void TfmMainForm::DestructionRequest()
{
    if (Lifecycle_.DestructionRequested() == TRequestStep::Now)
        DestroyWindow(Handle_);
}

void TfmMainForm::FormDestroy()
{
    Lifecycle_.DestructionBegins();
    if (fmMainForm == this)
        fmMainForm = nullptr;
    {
        THandlerScope handler(*this);  // a box shown here must not free us underneath
        try {
            FormStorage1->StorePlacementOnDestroy();
        } catch (const std::exception& error) {
            ReportError(error.what());
        }
    }
    if (LogQuery)
        LogQuery->Close();
    State_.reset();
    LogQuery.reset();
}

void TfmMainForm::NativeWindowGone()
{
    Handle_ = nullptr;
    if (Lifecycle_.NativeWindowGone() == TFreeStep::FreeNow)
        delete this;
}

void TfmMainForm::CarryOut(TPendingWork work) noexcept
{
    try {
        switch (work) {
        case TPendingWork::Free:
            delete this;
            break;
        case TPendingWork::Close:
            CloseRequest();
            break;
        case TPendingWork::RepostDestruction:
            // Posted again rather than done here: the caller's frames still use us.
            Release();
            break;
        case TPendingWork::None:
            break;
        }
    } catch (const std::exception& error) {
        ShowErrorBoxFromWindowProc(error.what());
    } catch (...) {
        ShowErrorBoxFromWindowProc("Unexpected failure in the statistics window");
    }
}

void TfmMainForm::ReportError(const std::string& message) const
{
    ShowErrorBox(Handle_ && IsWindowVisible(Handle_) ? Handle_ : nullptr, message);
}

void TfmMainForm::DestroyAllWindows()
{
    const std::set<TfmMainForm*> forms = LiveForms();
    for (TfmMainForm* form : forms) {
        if (form->Handle_)
            DestroyWindow(form->Handle_);
    }
}

void TfmMainForm::UnregisterWindowClasses()
{
    if (!ClassesRegistered)
        return;
    UnregisterClassA(kPanelClassName, PluginInstance());
    UnregisterClassA(kFormClassName, PluginInstance());
    ClassesRegistered = false;
}

// ------------------------------------------------------ window procedures

LRESULT CALLBACK TfmMainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TfmMainForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        // Nothing may be thrown through the system's frames: a failure here
        // fails CreateWindowEx, which the constructor reports.
        try {
            LiveForms().insert(form);
        } catch (...) {
            return FALSE;
        }
        form->Handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TfmMainForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowErrorBoxFromWindowProc(error.what());
    } catch (...) {
        ShowErrorBoxFromWindowProc("Unexpected failure in the statistics window");
    }
    return 0;
}

LRESULT TfmMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (Panel1)
            LayoutControls();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED)
            ExecuteRecalcStatistic();
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->hwndItem == BitBtn1)
            DrawButton(*item);
        return TRUE;
    }
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE) {
            FormSysCommand(wParam);
            return 0;
        }
        break;
    case WM_CLOSE:
        CloseRequest();
        return 0;
    case WM_QUERYENDSESSION:
        EndSessionQuery();
        return TRUE;
    case WM_ENDSESSION:
        if (!wParam && FormStorage1)
            FormStorage1->ForgetSaved();  // the log-off was called off: save again later
        return 0;
    case WM_RELEASE_FORM:
        DestructionRequest();
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrA(Handle_, GWLP_USERDATA, 0);
        LiveForms().erase(this);
        const LRESULT result = DefWindowProcA(Handle_, message, wParam, lParam);
        NativeWindowGone();  // may free us
        return result;
    }
    default:
        break;
    }
    return DefWindowProcA(Handle_, message, wParam, lParam);
}

LRESULT CALLBACK TfmMainForm::PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The panel only holds the button; its notifications belong to the form.
    if (message == WM_COMMAND || message == WM_DRAWITEM)
        return SendMessageA(GetParent(panel), message, wParam, lParam);
    return DefWindowProcA(panel, message, wParam, lParam);
}

void TfmMainForm::DrawButton(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    const int shift = pressed ? 1 : 0;
    // The 16 x 16 glyph: a circular arrow, greyed while the action is off.
    const int glyphLeft = frame.left + 6 + shift;
    const int glyphTop = frame.top + (frame.bottom - frame.top - 16) / 2 + shift;
    {
        TScopedPen pen(CreatePen(PS_SOLID, 2, enabled ? RGB(0, 128, 0) : GetSysColor(COLOR_GRAYTEXT)));
        TScopedSelect selectPen(dc, pen.Get());
        Arc(dc, glyphLeft + 2, glyphTop + 2, glyphLeft + 14, glyphTop + 14, glyphLeft + 14, glyphTop + 4,
            glyphLeft + 14, glyphTop + 12);
        MoveToEx(dc, glyphLeft + 13, glyphTop + 1, nullptr);
        LineTo(dc, glyphLeft + 13, glyphTop + 5);
        LineTo(dc, glyphLeft + 9, glyphTop + 5);
    }

    char caption[64] = {};
    GetWindowTextA(item.hwndItem, caption, sizeof caption);
    RECT text = frame;
    text.left = glyphLeft + 16 + 4;
    text.top += shift;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    TScopedSelect selectFont(dc, ButtonFont_.Get());
    DrawTextA(dc, caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = frame;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}
