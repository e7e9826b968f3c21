#include "skin/ManagedElementList.h"

#include "config/ProcessStore.h"
#include "platform/Trace.h"

namespace {
constexpr DWORD kPictureStyle = 0x4000000E;          // child, bitmap static, not visible
constexpr DWORD kTextStyle = WS_CHILD | SS_NOPREFIX; // not visible; "&" is a character, no mnemonic
constexpr RECT kDefaultWindowRect{0, 0, 600, 400};

LOGFONTA toLogFont(const FontDescription& font) {
    LOGFONTA logFont{};
    logFont.lfHeight = font.height;
    logFont.lfWidth = font.width;
    logFont.lfEscapement = font.escapement;
    logFont.lfOrientation = font.orientation;
    logFont.lfWeight = font.weight;
    logFont.lfItalic = font.italic;
    logFont.lfUnderline = font.underline;
    logFont.lfStrikeOut = font.strikeOut;
    logFont.lfCharSet = font.charSet;
    logFont.lfOutPrecision = font.outPrecision;
    logFont.lfClipPrecision = font.clipPrecision;
    logFont.lfQuality = font.quality;
    logFont.lfPitchAndFamily = font.pitchAndFamily;
    lstrcpynA(logFont.lfFaceName, font.faceName.c_str(), LF_FACESIZE);
    return logFont;
}
} // namespace

void CManagedElementList::addWindowElement(const std::string& name, HWND control) {
    elements_.push_back(std::make_unique<CWindowElement>(name, control));
}

void CManagedElementList::addButtonElement(const std::string& name, CSkinButton& button) {
    elements_.push_back(std::make_unique<CButtonElement>(name, &button, button.handle()));
}

void CManagedElementList::addButtonElement(const std::string& name, HWND control) {
    elements_.push_back(std::make_unique<CButtonElement>(name, nullptr, control));
}

void CManagedElementList::addCheckBoxElement(const std::string& name, CSkinCheckBox& checkBox) {
    elements_.push_back(std::make_unique<CCheckBoxElement>(name, checkBox));
}

std::unique_ptr<CSkinStatic> CManagedElementList::createStatic(DWORD style, bool tile) const {
    auto control = std::make_unique<CSkinStatic>(tile);
    if (window_) control->create("STATIC", style, window_, -1, "");
    return control;
}

CSkinStatic* CManagedElementList::addPictureElement(const std::string& name) {
    auto control = createStatic(kPictureStyle, true);
    CSkinStatic* created = control.get();
    elements_.push_back(std::make_unique<CPictureElement>(name, std::move(control)));
    return created;
}

CSkinStatic* CManagedElementList::addTextElement(const std::string& name) {
    auto control = createStatic(kTextStyle, false);
    applyStyleGuide(name, *control);
    CSkinStatic* created = control.get();
    elements_.push_back(std::make_unique<CTextElement>(name, std::move(control)));
    return created;
}

void CManagedElementList::applyStyleGuide(const std::string& elementName, CSkinStatic& control) const {
    const std::string value = getStyleGuideValue(elementName);
    trace("style guide for element '%s': '%s'\n", elementName.c_str(), value.c_str());
    StyleGuide style;
    if (!parseStyleGuide(value, style)) return;
    control.setColors(style.colors[0], style.colors[1], style.colors[2]);
    LOGFONTA logFont = toLogFont(style.font);
    control.setFont(CreateFontIndirectA(&logFont));
}

void CManagedElementList::loadLayout(bool leaveWindow) {
    const std::string value = getLayoutValue(name_);
    SettingsCursor cursor(value);
    if (!parseRect(cursor, rect_)) {
        showFormatted("Error: invalid position for window '%s'", name_);
        rect_ = {kDefaultWindowRect.left, kDefaultWindowRect.top, kDefaultWindowRect.right,
                 kDefaultWindowRect.bottom};
        return;
    }
    bool end = false;
    const int visible = parseNumber(cursor.nextToken(end));
    if (end) {
        showFormatted("Error: no 'visible' state or no 'caption' defined for window '%s'", name_);
        return;
    }
    caption_ = cursor.nextToken(end);
    if (window_ && IsWindow(window_) && !leaveWindow) {
        ShowWindow(window_, visible == 1 ? SW_SHOW : SW_HIDE);
        SetWindowTextA(window_, caption_.c_str());
    }
    for (auto& element : elements_)
        element->loadSettings(name_);
}

void CManagedElementList::applyLayout() {
    if (!window_ || !IsWindow(window_)) return;
    RECT outer{rect_.first, rect_.second, rect_.third, rect_.fourth};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    placeElements(rect_.third - rect_.first, rect_.fourth - rect_.second);
}

void CManagedElementList::placeInRect(const RECT& container, bool move) {
    if (!window_ || !IsWindow(window_)) return;
    PixelRect placed =
        resolvePosition(rect_, container.right - container.left, container.bottom - container.top);
    placeElements(placed.right - placed.left, placed.bottom - placed.top);
    if (!move) return;
    RECT target{placed.left + container.left, placed.top + container.top, placed.right + container.left,
                placed.bottom + container.top};
    RECT current{};
    GetWindowRect(window_, &current);
    if (HWND parent = GetParent(window_))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&current), 2);
    if (!EqualRect(&current, &target))
        MoveWindow(window_, target.left, target.top, target.right - target.left, target.bottom - target.top,
                   TRUE);
}

void CManagedElementList::placeElements(int width, int height) {
    for (auto& element : elements_) {
        HWND control = element->controlWindow();
        if (!control || !IsWindow(control)) continue;
        PixelRect placed = resolvePosition(element->position(), width, height);
        RECT target{placed.left, placed.top, placed.right, placed.bottom};
        RECT current{};
        GetWindowRect(control, &current);
        MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&current), 2);
        if (!EqualRect(&current, &target))
            MoveWindow(control, target.left, target.top, target.right - target.left,
                       target.bottom - target.top, FALSE);
    }
}

bool CManagedElementList::paintElements(HDC dc) {
    bool painted = false;
    for (auto& element : elements_)
        if (element->paintedStatic()) painted = true;
    if (!painted || !window_) return painted;

    RECT client{};
    GetClientRect(window_, &client);
    ScopedMemoryDc memory(CreateCompatibleDC(dc));
    ScopedBitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!memory || !canvas) return painted;
    {
        SelectGuard selectCanvas(memory.get(), canvas.get());
        FillRect(memory.get(), &client, GetSysColorBrush(COLOR_3DFACE));
        HGDIOBJ windowFont = reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
        if (windowFont) SelectObject(memory.get(), windowFont);
        for (auto& element : elements_)
            if (const CSkinStatic* control = element->paintedStatic())
                control->paintOn(memory.get(), window_);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    return painted;
}

CManagedElement* CManagedElementList::find(const std::string& elementName) const {
    for (auto& element : elements_)
        if (element->name() == elementName) return element.get();
    return nullptr;
}

CTextElement* CManagedElementList::findText(const std::string& elementName) const {
    CManagedElement* element = find(elementName);
    return element && element->kind() == CManagedElement::text ? static_cast<CTextElement*>(element)
                                                               : nullptr;
}
