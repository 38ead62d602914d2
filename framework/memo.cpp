// Multi-line edit boxes (see memo.h).
#include "framework/memo.h"

#include <algorithm>

#include "framework/edit_selection.h"
#include "framework/text_limit.h"

const TEnumInfo ScrollStyleEnum{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};

namespace {

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace

// ---- TMemoStrings ---------------------------------------------------------------------

std::vector<std::string> TMemoStrings::Current() const
{
    return FUpdating ? FPending : SplitLines(FMemo->Text());
}

void TMemoStrings::Store(std::vector<std::string> lines)
{
    if (FUpdating)
        FPending = std::move(lines);
    else
        FMemo->SetText(JoinLines(lines));
}

void TMemoStrings::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count) throw EListError(Format("List index out of bounds (%d)", index));
}

void TMemoStrings::SetUpdateState(bool updating)
{
    if (updating) {
        FPending = SplitLines(FMemo->Text());
        FUpdating = true;
    } else {
        FUpdating = false;
        Store(std::move(FPending));
        FPending.clear();
    }
}

int TMemoStrings::Count() const { return static_cast<int>(Current().size()); }

std::string TMemoStrings::Get(int index) const
{
    std::vector<std::string> lines = Current();
    CheckIndex(index, static_cast<int>(lines.size()));
    return lines[index];
}

void TMemoStrings::Put(int index, const std::string& value)
{
    std::vector<std::string> lines = Current();
    CheckIndex(index, static_cast<int>(lines.size()));
    lines[index] = value;
    Store(std::move(lines));
}

void TMemoStrings::Insert(int index, const std::string& value)
{
    std::vector<std::string> lines = Current();
    if (index < 0 || index > static_cast<int>(lines.size()))
        throw EListError(Format("List index out of bounds (%d)", index));
    lines.insert(lines.begin() + index, value);
    Store(std::move(lines));
}

void TMemoStrings::Delete(int index)
{
    std::vector<std::string> lines = Current();
    CheckIndex(index, static_cast<int>(lines.size()));
    lines.erase(lines.begin() + index);
    Store(std::move(lines));
}

void TMemoStrings::Clear() { Store({}); }

// ---- TCustomMemo ----------------------------------------------------------------------

using PMemo = TPropBuilder<TCustomMemo>;
IMPLEMENT_CLASS(TCustomMemo,
    PMemo::Enum("Alignment", AlignmentEnum, &TCustomMemo::Alignment, &TCustomMemo::SetAlignment),
    PMemo::Integer("Color", &TCustomMemo::Color, &TCustomMemo::SetColor),
    PMemo::Object("Font", &TCustomMemo::Font, &TCustomMemo::SetFont),
    PMemo::Object("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines),
    PMemo::Integer("MaxLength", &TCustomMemo::MaxLength, &TCustomMemo::SetMaxLength),
    PMemo::Bool("ParentColor", &TCustomMemo::ParentColor, &TCustomMemo::SetParentColor),
    PMemo::Bool("ParentFont", &TCustomMemo::ParentFont, &TCustomMemo::SetParentFont),
    PMemo::Bool("ReadOnly", &TCustomMemo::ReadOnly, &TCustomMemo::SetReadOnly),
    PMemo::Enum("ScrollBars", ScrollStyleEnum, &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars),
    PMemo::String("Text", &TCustomMemo::Text, &TCustomMemo::SetText),
    PMemo::Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs),
    PMemo::Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap))

TCustomMemo::TCustomMemo(TComponent* owner) : TWinControl(owner), FLines(std::make_unique<TMemoStrings>(this))
{
    FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    FWidth = 185;
    FHeight = 89;
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
}

TCustomMemo::~TCustomMemo()
{
    SetComponentState(csDestroying);
    DestroyHandle();
}

void TCustomMemo::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    static const DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    static const DWORD scrollBars[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
    p.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | alignments[FAlignment] | scrollBars[FScrollBars];
    // Without wrapping a line runs on to the right as it is typed.
    if (!FWordWrap) p.Style |= ES_AUTOHSCROLL;
    if (FReadOnly) p.Style |= ES_READONLY;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomMemo::CreateWindowDone()
{
    if (FMaxLength) ::SendMessageA(FHandle, EM_LIMITTEXT, FMaxLength, 0);
    FLastText = GetText();
}

void TCustomMemo::SetLines(TStrings* lines)
{
    if (lines) FLines->Assign(*lines);
}

void TCustomMemo::SetScrollBars(TScrollStyle value)
{
    if (value == FScrollBars) return;
    FScrollBars = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value)
{
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment value)
{
    if (value == FAlignment) return;
    FAlignment = value;
    RecreateWnd();
}

void TCustomMemo::SetReadOnly(bool value)
{
    FReadOnly = value;
    if (FHandle) ::SendMessageA(FHandle, EM_SETREADONLY, value, 0);
}

void TCustomMemo::SetWantTabs(bool value) { FWantTabs = value; }

void TCustomMemo::SetMaxLength(int value)
{
    FMaxLength = std::max(value, 0);
    // The window's own limit counts characters on some systems and bytes on
    // others; as characters never outnumber bytes it is a safe first fence,
    // and EnforceMaxLength counts the bytes.
    if (FHandle) ::SendMessageA(FHandle, EM_LIMITTEXT, FMaxLength, 0);
}

int TCustomMemo::SelStart() { return EditSelStart(Handle()); }
void TCustomMemo::SetSelStart(int value) { EditSetSel(Handle(), value, value); }
int TCustomMemo::SelLength() { return EditSelLength(Handle()); }
void TCustomMemo::SetSelLength(int value)
{
    const int start = SelStart();
    EditSetSel(Handle(), start, start + value);
}
void TCustomMemo::SelectAll() { EditSetSel(Handle(), 0, -1); }

void TCustomMemo::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomMemo::EnforceMaxLength()
{
    if (!FMaxLength || FLimiting) return;
    std::string now = GetText();
    std::string fitted;
    size_t caret = 0;
    if (LimitInsertion(FLastText, now, static_cast<size_t>(FMaxLength), fitted, caret)) {
        FLimiting = true;
        ::SendMessageA(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fitted.c_str()));
        int position = EditPosition(FHandle, fitted, caret);
        ::SendMessageA(FHandle, EM_SETSEL, position, position);
        ::SendMessageA(FHandle, EM_SCROLLCARET, 0, 0);
        FLimiting = false;
        MessageBeep(MB_OK);
        now = fitted;
    }
    FLastText = now;
}

void TCustomMemo::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE) {
            if (FLimiting) return;  // the shortened text; announced by the change that caused it
            if (FSettingText) {
                FChangeSeen = true;
                FLastText = GetText();
            } else {
                EnforceMaxLength();
            }
            Change();
        }
        return;
    case WM_SETTEXT:
        if (FLimiting) break;
        {
            // Some systems announce a new multi-line text with EN_CHANGE, some
            // do not; OnChange runs once either way.
            bool outer = !FSettingText;
            FSettingText = true;
            FChangeSeen = false;
            TWinControl::WndProc(m);
            if (outer) {
                FSettingText = false;
                if (!FChangeSeen) {
                    FLastText = GetText();
                    Change();
                }
            }
        }
        return;
    case CM_TEXTCHANGED:
        // Without a window there is no EN_CHANGE to announce the new text.
        if (!FHandle) Change();
        break;
    case WM_GETDLGCODE:
        // Arrows, characters and Enter belong to the memo; Tab and Escape
        // move on in the form unless WantTabs.
        TWinControl::WndProc(m);
        m.Result &= ~DLGC_WANTALLKEYS;
        if (FWantTabs)
            m.Result |= DLGC_WANTTAB;
        else
            m.Result &= ~DLGC_WANTTAB;
        return;
    case CM_WANTSPECIALKEY:
        if (m.WParam == VK_RETURN && !FReadOnly) {
            m.Result = 1;
            return;
        }
        break;
    }
    TWinControl::WndProc(m);
}
