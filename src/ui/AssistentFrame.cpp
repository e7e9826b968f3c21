#include "ui/AssistentFrame.h"

#include "config/ProcessStore.h"
#include "platform/Platform.h"
#include "platform/Trace.h"
#include "toolkit/MainWindow.h"
#include "toolkit/PaintDc.h"
#include "ui/ResourceIds.h"

namespace {
constexpr WPARAM kConsoleDisconnect = 2; // WTS_CONSOLE_DISCONNECT
constexpr UINT kSessionChange = 0x02B1;  // WM_WTSSESSION_CHANGE

const UINT kModalMessage = RegisterWindowMessageA("NV_IMPORT_EXPORT_ASSISTENT_MODAL");

bool isInside(HWND container, HWND window) {
    return container && window && (container == window || IsChild(container, window));
}

bool isFrameButton(int id) {
    return id == IDC_FRAME_BACK || id == IDC_FRAME_NEXT || id == IDC_FRAME_FINISH || id == IDCANCEL;
}
} // namespace

// While a conversion runs, the frame shows the wait cursor and its buttons take no clicks. A
// button pressed meanwhile reaches the frame only when the conversion has ended; it is known by
// the time of the input that pressed it and ignored, so that an impatient second Finish cannot
// start the conversion again. Nothing is taken out of the queue: input that belongs to other
// windows, or to the message box that ended the conversion, stays as given. A close asked for
// meanwhile is carried out at the end.
class CAssistentFrame::BusyScope {
  public:
    explicit BusyScope(CAssistentFrame& frame)
        : frame_(frame), previousCursor_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {
        frame_.busy_ = true;
    }
    ~BusyScope() {
        frame_.busy_ = false;
        frame_.inputDroppedBefore_ = GetTickCount();
        SetCursor(previousCursor_);
        if (frame_.closeRequested_) frame_.close();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    CAssistentFrame& frame_;
    HCURSOR previousCursor_;
};

CAssistentFrame::CAssistentFrame(int templateId, std::string section)
    : CDialog(templateId), section_(std::move(section)),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM))),
      smallIcon_(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED))),
      inputDroppedBefore_(GetTickCount()) {}

CAssistentFrame::~CAssistentFrame() {
    elements_.reset();
}

UINT CAssistentFrame::modalMessage() {
    return kModalMessage;
}

UINT CAssistentFrame::stateMessage() {
    return RegisterWindowMessageA("NV_IMPORT_EXPORT_ASSISTENT_STATE");
}

bool CAssistentFrame::onInitDialog() {
    setMainWindow(handle());
    send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    backButton_.subclassItem(handle(), IDC_FRAME_BACK);
    nextButton_.subclassItem(handle(), IDC_FRAME_NEXT);
    finishButton_.subclassItem(handle(), IDC_FRAME_FINISH);
    cancelButton_.subclassItem(handle(), IDCANCEL);
    page(1)->createIn(handle());

    elements_ = std::make_unique<CManagedElementList>(section_, handle());
    elements_->addPictureElement("Background");
    elements_->addButtonElement("ButtonBack", backButton_);
    elements_->addButtonElement("ButtonNext", nextButton_);
    elements_->addButtonElement("ButtonFinish", finishButton_);
    elements_->addButtonElement("ButtonCancel", cancelButton_);
    elements_->addTextElement("ImportExportTitle");
    elements_->addTextElement("ImportExportDescription");
    elements_->loadLayout(true); // the frame is shown below, once it is complete
    SetWindowTextA(handle(), elements_->caption().c_str());
    elements_->applyLayout();
    RECT client = clientRect();
    placePages(client.right, client.bottom);

    updateTitles(1, true);
    updateButtons(false, true);
    if (usesSessionNotification()) setSessionNotification(1, handle());
    afterInit();
    // Shown only when it is complete: a frame on show before it takes input would lose the
    // clicks given meanwhile, and one shown earlier would be painted again for every bitmap,
    // outline and caption that arrives.
    ShowWindow(handle(), SW_SHOW);
    showPage(1);
    RedrawWindow(handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}

void CAssistentFrame::showPage(int number) {
    currentPage_ = number;
    if (shownPage_ && shownPage_->exists()) shownPage_->show(false);
    shownPage_ = page(number);
    if (!shownPage_) return;
    ShowWindow(shownPage_->handle(), SW_SHOW);
    UpdateWindow(shownPage_->handle());
    SetFocus(shownPage_->handle());
}

CWizardPage* CAssistentFrame::preparedPage(int number) {
    CWizardPage* wanted = page(number);
    if (!wanted || wanted->exists() || !handle()) return wanted;
    if (!wanted->createIn(handle())) return wanted;
    if (CManagedElementList* elements = wanted->elements()) {
        const RECT client = clientRect();
        elements->placeInRect(client, true);
    }
    pageCreated(number);
    return wanted;
}

void CAssistentFrame::updateTitles(int number, bool import) {
    std::string prefix = "Page" + std::to_string(number) + "_";
    if (number != 1) prefix += import ? "Import_" : "Export_";
    if (!elements_) return;
    if (CTextElement* title = elements_->findText("ImportExportTitle"))
        title->control().setText(getLayoutSectionValue(section_, prefix + "Title"));
    if (CTextElement* description = elements_->findText("ImportExportDescription"))
        description->control().setText(getLayoutSectionValue(section_, prefix + "Description"));
}

void CAssistentFrame::updateButtons(bool backEnabled, bool nextVisible) {
    backButton_.enable(backEnabled);
    nextButton_.show(nextVisible);
    finishButton_.show(!nextVisible);
}

void CAssistentFrame::step(int to, bool import) {
    const int from = currentPage_;
    preparedPage(to);
    if (!beforeStep(from, to, import)) return;
    updateTitles(to, import);
    const int lastPage = import ? 3 : 2;
    updateButtons(to != 1, to != lastPage);
    afterStep(from, to, import);
    // The page is shown ready: a click on it right after it appears must not meet it half done.
    showPage(to);
}

void CAssistentFrame::goNext() {
    const bool import = isImport();
    if (currentPage_ == 1)
        step(import ? 2 : 3, import);
    else if (currentPage_ == 2 && import)
        step(3, import);
    else if (currentPage_ == 3 && !import)
        step(2, import);
}

void CAssistentFrame::goBack() {
    const bool import = isImport();
    if (currentPage_ == 2)
        step(import ? 1 : 3, import);
    else if (currentPage_ == 3)
        step(import ? 2 : 1, import);
}

void CAssistentFrame::close() {
    if (closing_) return;
    closing_ = true;
    if (usesSessionNotification()) setSessionNotification(0, handle());
    PostMessageA(HWND_BROADCAST, stateMessage(), 0, 0);
    endDialog(IDCANCEL);
}

void CAssistentFrame::finish() {
    BusyScope busy(*this);
    onFinish();
}

void CAssistentFrame::requestClose() {
    if (busy_)
        closeRequested_ = true;
    else
        close();
}

bool CAssistentFrame::onCommand(int id, int notifyCode, HWND) {
    if (notifyCode != BN_CLICKED) return false;
    if (isFrameButton(id) && (busy_ || static_cast<LONG>(GetMessageTime() - inputDroppedBefore_) < 0))
        return true;
    switch (id) {
    case IDC_FRAME_BACK:
        goBack();
        return true;
    case IDC_FRAME_NEXT:
        goNext();
        return true;
    case IDC_FRAME_FINISH:
        finish();
        return true;
    default:
        return false;
    }
}

void CAssistentFrame::placePages(int width, int height) {
    const RECT area{0, 0, width, height};
    for (int number = 1; number <= 3; ++number)
        if (CWizardPage* shown = page(number); shown && shown->elements())
            shown->elements()->placeInRect(area, true);
}

bool CAssistentFrame::paintIcon() {
    CPaintDc dc(handle());
    send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()));
    RECT client = clientRect();
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.get(), x, y, icon_);
    return true;
}

LRESULT CAssistentFrame::onAssistentState() {
    trace("OnAssistentState\n");
    SetFocus(handle());
    return SetForegroundWindow(handle());
}

bool CAssistentFrame::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kModalMessage) {
        result = onAssistentState();
        return true;
    }
    switch (message) {
    case WM_ERASEBKGND:
        if (!elements_ || !elements_->paintElements(reinterpret_cast<HDC>(wParam))) return false;
        result = 1;
        return true;
    case WM_SIZE:
        placePages(LOWORD(lParam), HIWORD(lParam));
        return false;
    case WM_PAINT:
        return IsIconic(handle()) && paintIcon();
    case WM_SETCURSOR:
        if (!busy_) return false;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        result = TRUE;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    case WM_CLOSE:
        requestClose();
        return true;
    case kSessionChange:
        // Handled here, not before dispatch, so that a message box's loop delivers it too.
        if (wParam == kConsoleDisconnect) requestClose();
        return false;
    case WM_DESTROY:
        if (getMainWindow() == handle()) setMainWindow(nullptr);
        return false;
    default:
        return false;
    }
}

bool CAssistentFrame::preTranslateMessage(MSG& message) {
    // Enter and Escape inside a page belong to the page, whose handlers do nothing; the dialog
    // manager would hand them on to the frame. Controls that take the key themselves get it.
    if ((message.message != WM_KEYDOWN && message.message != WM_CHAR) ||
        (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE) || !shownPage_ ||
        message.hwnd == shownPage_->handle() || !isInside(shownPage_->handle(), message.hwnd))
        return false;
    const LRESULT wanted =
        SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    if (wanted & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    return true;
}
