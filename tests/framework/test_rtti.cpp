// Published properties read and written by name and kind, class chains,
// and component ownership.
#include <gtest/gtest.h>

#include "framework/forms.h"
#include "framework/std_controls.h"
#include "framework/timer.h"

#include <algorithm>
#include <functional>

namespace {

// A class of the test's own, declared with the same macros as the
// framework's classes; it has the one wide-string property and a read-only
// one.
class TWideThing : public TComponent {
    DECLARE_CLASS(TWideThing, TComponent)
public:
    using TComponent::TComponent;
    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& value) { FTitle = value; }
    int Version() const { return 7; }

private:
    std::wstring FTitle = L"t";
};

using PWide = TPropBuilder<TWideThing>;
IMPLEMENT_CLASS(TWideThing,
    PWide::WideString("Title", &TWideThing::Title, &TWideThing::SetTitle),
    PWide::Integer("Version", &TWideThing::Version, nullptr))

// Records what it hears about other components.
class TListener : public TComponent {
    DECLARE_CLASS_INLINE(TListener, TComponent)
public:
    using TComponent::TComponent;
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        Heard.push_back({component, operation});
    }
    std::vector<std::pair<TComponent*, TOperation>> Heard;
};

TEST(Rtti, ClassNamesAndChains)
{
    TForm form(nullptr);
    auto* button = new TButton(&form);
    auto* label = new TLabel(&form);
    auto* edit = new TEdit(&form);
    auto* panel = new TPanel(&form);
    struct Case {
        TObject* Object;
        const char* Name;
        const TClassInfo& Ancestor;
        bool Inherits;
    } cases[] = {
        {button, "TButton", TWinControl::StaticClassInfo(), true},
        {button, "TButton", TGraphicControl::StaticClassInfo(), false},
        {label, "TLabel", TGraphicControl::StaticClassInfo(), true},
        {label, "TLabel", TWinControl::StaticClassInfo(), false},
        {edit, "TEdit", TCustomEdit::StaticClassInfo(), true},
        {panel, "TPanel", TCustomPanel::StaticClassInfo(), true},
        {panel, "TPanel", TCustomControl::StaticClassInfo(), true},
        {&form, "TForm", TCustomForm::StaticClassInfo(), true},
        {&form, "TForm", TComponent::StaticClassInfo(), true},
        {&form, "TForm", TObject::StaticClassInfo(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " / " + c.Ancestor.Name);
        EXPECT_EQ(c.Object->ClassName(), c.Name);
        EXPECT_EQ(c.Object->InheritsFrom(c.Ancestor), c.Inherits);
    }
    EXPECT_EQ(As<TWinControl>(label), nullptr);
    EXPECT_EQ(As<TWinControl>(button), button);
}

TEST(Rtti, ReadsAndWritesEveryKindByName)
{
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    TWideThing wide(nullptr);

    // Integer.
    SetOrdProp(*panel, "Left", 17);
    EXPECT_EQ(panel->Left(), 17);
    EXPECT_EQ(GetOrdProp(*panel, "left"), 17) << "names ignore ASCII case";
    SetPropValue(*panel, "Color", "255");
    EXPECT_EQ(panel->Color(), clRed);
    EXPECT_EQ(GetPropValue(*panel, "Color"), "255");

    // Enumeration, Boolean included.
    EXPECT_EQ(GetEnumProp(*panel, "ParentBackground"), "True");
    SetEnumProp(*panel, "ParentBackground", "false");
    EXPECT_FALSE(panel->ParentBackground());
    SetEnumProp(*panel, "Align", "alClient");
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_EQ(GetOrdProp(*panel, "Align"), alClient);

    // Set.
    TFont* font = static_cast<TFont*>(GetObjectProp(*panel, "Font", &TFont::StaticClassInfo()));
    ASSERT_EQ(font, panel->Font());
    SetSetProp(*font, "Style", "[fsBold, fsUnderline]");
    EXPECT_EQ(font->Style(), FontStyle(fsBold) | FontStyle(fsUnderline));
    EXPECT_EQ(GetSetProp(*font, "Style"), "[fsBold,fsUnderline]");
    SetSetProp(*font, "Style", "[]");
    EXPECT_EQ(font->Style(), 0u);

    // String, through both string forms.
    SetStrProp(*panel, "Caption", "收支");
    EXPECT_EQ(panel->Caption(), "收支");
    EXPECT_EQ(GetWideStrProp(*panel, "Caption"), L"收支");
    SetWideStrProp(*panel, "Caption", L"关于");
    EXPECT_EQ(panel->Caption(), "关于");

    // Wide string.
    SetWideStrProp(wide, "Title", L"宋体");
    EXPECT_EQ(wide.Title(), L"宋体");
    EXPECT_EQ(GetStrProp(wide, "Title"), "宋体");
    EXPECT_EQ(FindPropInfo(&wide, "Title")->Kind, TTypeKind::tkWString);

    // Object: assigning a font copies it into the control's own font.
    TFont other;
    other.SetName("Arial");
    other.SetHeight(-20);
    SetObjectProp(*panel, "Font", &other);
    EXPECT_EQ(panel->Font()->Name(), "Arial");
    EXPECT_EQ(panel->Font()->Height(), -20);
    EXPECT_NE(panel->Font(), &other);
    EXPECT_EQ(GetObjectProp(*panel, "Font", &TBrush::StaticClassInfo()), nullptr) << "a font is not a brush";
}

TEST(Rtti, MissingPropertiesAndWrongKindsAreRefused)
{
    TForm form(nullptr);
    auto* button = new TButton(&form);
    TWideThing wide(nullptr);
    TBrush brush;

    EXPECT_EQ(FindPropInfo(button, "ParentBackground"), nullptr) << "a button does not publish it";
    EXPECT_EQ(FindPropInfo(nullptr, "Caption"), nullptr);
    EXPECT_FALSE(IsPublishedProp(button, "NoSuchThing"));

    struct Case {
        const char* What;
        std::function<void()> Call;
        const char* MessagePart;
    } cases[] = {
        {"missing", [&] { GetOrdProp(*button, "NumGlyphs"); }, "NumGlyphs"},
        {"string as ordinal", [&] { GetOrdProp(*button, "Caption"); }, "string"},
        {"integer as string", [&] { GetStrProp(*button, "Left"); }, "integer"},
        {"enumeration as set", [&] { GetSetProp(*button, "Default"); }, "enumeration"},
        {"integer as object", [&] { GetObjectProp(*button, "Width"); }, "integer"},
        {"object as text", [&] { GetPropValue(*button, "Font"); }, "class"},
        {"unknown value", [&] { SetEnumProp(*button, "Default", "Maybe"); }, "Maybe"},
        {"enumeration out of range", [&] { SetOrdProp(*button, "Default", 2); }, "out of range"},
        {"unknown set member", [&] { SetSetProp(*button->Font(), "Style", "[fsBold,fsWavy]"); }, "fsWavy"},
        {"not a number", [&] { SetPropValue(*button, "Left", "12px"); }, "12px"},
        {"read-only", [&] { SetOrdProp(wide, "Version", 8); }, "read-only"},
        {"wrong object class", [&] { SetObjectProp(*button, "Font", &brush); }, "TBrush"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        try {
            c.Call();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(c.MessagePart), std::string::npos) << e.Message();
        }
    }
    EXPECT_EQ(GetOrdProp(wide, "Version"), 7);
    EXPECT_EQ(button->Font()->Style(), 0u) << "a refused set leaves the value alone";
}

TEST(Rtti, PropertyListRunsFromTheRootClass)
{
    TButton button(nullptr);
    std::vector<const TPropInfo*> list = GetPropList(button);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front()->Name, "Name") << "TComponent's properties come first";
    auto has = [&](const char* name) {
        return std::any_of(list.begin(), list.end(), [&](const TPropInfo* p) { return p->Name == name; });
    };
    EXPECT_TRUE(has("Caption"));
    EXPECT_TRUE(has("TabStop"));
    EXPECT_TRUE(has("Tag"));
}

TEST(Components, OwnerFindsDestroysAndNotifies)
{
    auto* owner = new TListener(nullptr);
    auto* a = new TComponent(owner);
    a->SetName("Alpha");
    auto* b = new TTimer(owner);
    b->SetName("Beta");
    b->SetTag(99);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(owner->FindComponent("beta"), b);
    EXPECT_EQ(owner->FindComponent("Gamma"), nullptr);
    EXPECT_EQ(GetOrdProp(*b, "Tag"), 99);
    EXPECT_THROW(owner->Components(2), EListError);
    EXPECT_THROW(a->SetName("BETA"), EComponentError);
    EXPECT_EQ(a->Name(), "Alpha");

    // An outside listener hears of the end of a component it watches.
    TListener watcher(nullptr);
    watcher.FreeNotification(a);
    owner->Heard.clear();
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    ASSERT_EQ(watcher.Heard.size(), 1u);
    EXPECT_EQ(watcher.Heard[0].first, a);
    EXPECT_EQ(watcher.Heard[0].second, opRemove);
    ASSERT_FALSE(owner->Heard.empty());
    EXPECT_EQ(owner->Heard.back().second, opRemove);

    // Destroying the owner destroys what it owns.
    watcher.Heard.clear();
    watcher.FreeNotification(b);
    delete owner;
    ASSERT_EQ(watcher.Heard.size(), 1u);
    EXPECT_EQ(watcher.Heard[0].first, b);
}

}  // namespace
