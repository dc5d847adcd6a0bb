#include "tarvela/runtime/properties.h"

#include <gtest/gtest.h>

#include "runtime/toy_components.h"

namespace tarvela {
namespace {

using toys::TToyControl;
using toys::TToyForm;

template <class E = Exception>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return "(no exception)";
}

TEST(PropertyTable, FindsThroughParentsIgnoringCaseAndListsBaseFirst) {
  PropertyTable base(nullptr, {PropertyInfo{"Alpha", {}, {}, {}, {}, {}}, PropertyInfo{"Beta", {}, {}, {}, {}, {}}});
  PropertyTable derived(&base, {PropertyInfo{"Gamma", {}, {}, {}, {}, {}}, PropertyInfo{"BETA", {}, {}, {}, {}, {}}});
  ASSERT_NE(derived.Find("alpha"), nullptr);
  EXPECT_EQ(derived.Find("beta")->name, "BETA");  // the subclass's definition wins
  EXPECT_EQ(derived.Find("Delta"), nullptr);
  EXPECT_EQ(derived.Find(""), nullptr);
  std::vector<std::string> names;
  for (const PropertyInfo* info : derived.All()) names.push_back(info->name);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "BETA", "Gamma"}));
}

TEST(Properties, IntegersMustFitTheMembersType) {
  TToyControl c(nullptr);
  EXPECT_EQ(MessageOf<EConvertError>([&] { SetPropertyPath(c, "Width", PropertyValue::Integer(40000)); }),
            "Invalid value for property 'Width' of TToyControl: 40000 is out of range -32768..32767");
  EXPECT_EQ(c.Width(), 0);
  SetPropertyPath(c, "Width", PropertyValue::Integer(-32768));
  EXPECT_EQ(c.Width(), -32768);
  EXPECT_THROW(SetPropertyPath(c, "Wall.Size", PropertyValue::Integer(-1)), EConvertError);
  EXPECT_THROW(SetPropertyPath(c, "Wall.Size", PropertyValue::Integer(256)), EConvertError);
  SetPropertyPath(c, "Wall.Size", PropertyValue::Integer(255));
  EXPECT_EQ(c.Wall().Size(), 255);
  EXPECT_THROW(SetPropertyPath(c, "Left", PropertyValue::Integer(1LL << 31)), EConvertError);
  SetPropertyPath(c, "Big", PropertyValue::Integer(INT64_MIN));
  EXPECT_EQ(GetPropertyPath(c, "Big").integer, INT64_MIN);
}

TEST(Properties, AValueOfTheWrongKindIsAConversionErrorNamingTheProperty) {
  TToyControl c(nullptr);
  EXPECT_EQ(MessageOf<EConvertError>([&] { SetPropertyPath(c, "Left", PropertyValue::String("abc")); }),
            "Invalid value for property 'Left' of TToyControl: Expected an integer but found string 'abc'");
  EXPECT_THROW(SetPropertyPath(c, "Visible", PropertyValue::Identifier("Yes")), EConvertError);
  EXPECT_THROW(SetPropertyPath(c, "Visible", PropertyValue::Integer(1)), EConvertError);
  EXPECT_THROW(SetPropertyPath(c, "Caption", PropertyValue::Identifier("abc")), EConvertError);
  EXPECT_THROW(SetPropertyPath(c, "Lines", PropertyValue::String("abc")), EConvertError);
  EXPECT_THROW(SetPropertyPath(c, "Anchors", PropertyValue::Identifier("akTop")), EConvertError);
  EXPECT_THROW(SetPropertyPath(c, "Ratio", PropertyValue::String("1.5")), EConvertError);
}

TEST(Properties, FloatsAcceptIntegersButNotValuesBeyondTheMembersRange) {
  TToyControl c(nullptr);
  SetPropertyPath(c, "Ratio", PropertyValue::Integer(3));
  EXPECT_EQ(c.Ratio(), 3.0);
  SetPropertyPath(c, "Ratio", PropertyValue::Float(-0.25L));
  EXPECT_EQ(GetPropertyPath(c, "Ratio"), PropertyValue::Float(-0.25L));
  EXPECT_THROW(SetPropertyPath(c, "Ratio", PropertyValue::Float(1e400L)), EConvertError);
}

TEST(Properties, ColoursAreNamesOrIntegersIncludingNegativeAndHexPatterns) {
  TToyControl c(nullptr);
  SetPropertyPath(c, "Color", PropertyValue::Identifier("CLRED"));
  EXPECT_EQ(c.Color(), clRed);
  SetPropertyPath(c, "Color", PropertyValue::Integer(-1));
  EXPECT_EQ(c.Color(), -1);
  SetPropertyPath(c, "Color", PropertyValue::Integer(0xFF00000F));  // written as $FF00000F
  EXPECT_EQ(c.Color(), clBtnFace);
  EXPECT_EQ(GetPropertyPath(c, "Color").integer, clBtnFace);
  EXPECT_THROW(SetPropertyPath(c, "Color", PropertyValue::Integer(0x100000000LL)), EConvertError);
  EXPECT_EQ(MessageOf<EConvertError>([&] { SetPropertyPath(c, "Color", PropertyValue::Identifier("clPlaid")); }),
            "Invalid value for property 'Color' of TToyControl: Unknown colour clPlaid");
}

TEST(Properties, EnumsAndSetsReadIdentifiersAndGiveThemBack) {
  TToyControl c(nullptr);
  SetPropertyPath(c, "Align", PropertyValue::Identifier("alclient"));
  EXPECT_EQ(c.Align(), toys::alClient);
  EXPECT_EQ(GetPropertyPath(c, "Align").ToText(), "alClient");
  EXPECT_THROW(SetPropertyPath(c, "Align", PropertyValue::Identifier("alLeft")), EConvertError);
  c.SetAlign(static_cast<toys::TAlign>(9));
  EXPECT_EQ(GetPropertyPath(c, "Align"), PropertyValue::Integer(9));

  SetPropertyPath(c, "Anchors", PropertyValue::Set({"akBottom", "akTop"}));
  EXPECT_EQ(c.Anchors(), (1u << toys::akTop) | (1u << toys::akBottom));
  EXPECT_EQ(GetPropertyPath(c, "Anchors").ToText(), "[akTop, akBottom]");
  SetPropertyPath(c, "Anchors", PropertyValue::Set({}));
  EXPECT_EQ(c.Anchors(), 0u);
  EXPECT_EQ(MessageOf<EConvertError>([&] { SetPropertyPath(c, "Anchors", PropertyValue::Set({"akTop", "akNorth"})); }),
            "Invalid value for property 'Anchors' of TToyControl: Unknown identifier akNorth");
}

TEST(Properties, SetMembersMustFitTheMask) {
  enum Wide { wSmall = 3, wHuge = 32 };
  const EnumNames<Wide> names = {{wSmall, "wSmall"}, {wHuge, "wHuge"}};
  auto build = [&] {
    SetProperty<TToyControl, Wide>("Wide", &TToyControl::Anchors, &TToyControl::SetAnchors, names);
  };
  EXPECT_THROW(build(), EPropertyError);
}

TEST(Properties, DottedPathsWalkSubObjects) {
  TToyControl c(nullptr);
  SetPropertyPath(c, "wall.BRUSH.color", PropertyValue::Identifier("clBlue"));
  EXPECT_EQ(c.Wall().Brush().Color(), clBlue);
  EXPECT_EQ(GetPropertyPath(c, "Wall.Brush.Color").integer, clBlue);
  EXPECT_EQ(MessageOf<EPropertyError>([&] { SetPropertyPath(c, "Wall.Brush.Colour", PropertyValue::Integer(1)); }),
            "Unknown property 'Wall.Brush.Colour' of TToyControl");
  EXPECT_THROW(SetPropertyPath(c, "Left.Value", PropertyValue::Integer(1)), EPropertyError);
  EXPECT_THROW(SetPropertyPath(c, "Wall.", PropertyValue::Integer(1)), EPropertyError);
  EXPECT_THROW(SetPropertyPath(c, "", PropertyValue::Integer(1)), EPropertyError);
  EXPECT_EQ(MessageOf<EPropertyError>([&] { SetPropertyPath(c, "Wall", PropertyValue::Integer(1)); }),
            "Property 'Wall' of TToyControl is an object: set its properties instead");
  EXPECT_THROW(GetPropertyPath(c, "Wall"), EPropertyError);
}

TEST(Properties, StringsAfterAStringListNamesTheListItself) {
  TToyControl c(nullptr);
  SetPropertyPath(c, "Lines.Strings", PropertyValue::StringList({"one", "two"}));
  EXPECT_EQ(c.Lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(GetPropertyPath(c, "Lines.Strings").items.size(), 2u);
  EXPECT_THROW(SetPropertyPath(c, "Caption.Strings", PropertyValue::StringList({"x"})), EPropertyError);
}

TEST(Properties, StoredFollowsTheStoredFunction) {
  TToyControl c(nullptr);
  const PropertyInfo* width = c.Properties().Find("Width");
  const PropertyInfo* left = c.Properties().Find("Left");
  EXPECT_FALSE(IsStored(c, *width));
  c.SetWidth(5);
  EXPECT_TRUE(IsStored(c, *width));
  EXPECT_TRUE(IsStored(c, *left));  // no function: always
}

TEST(Properties, ReferencesOutsideTheReaderResolveAmongTheOwnersComponents) {
  TToyForm form(nullptr);
  form.SetName("Form1");
  auto* label = new TToyControl(&form);
  label->SetName("Label1");
  auto* edit = new TToyControl(&form);
  edit->SetName("Edit1");
  SetPropertyPath(*label, "FocusControl", PropertyValue::Identifier("edit1"));
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(GetPropertyPath(*label, "FocusControl").text, "Edit1");
  auto refer = [&](const char* name) { SetPropertyPath(*label, "FocusControl", PropertyValue::Identifier(name)); };
  EXPECT_EQ(MessageOf<EPropertyError>([&] { refer("Form1"); }),
            "Component 'Form1' (TToyForm) does not fit property 'FocusControl'");
  EXPECT_EQ(MessageOf<EPropertyError>([&] { refer("Edit9"); }), "Unknown component 'Edit9' in property 'FocusControl'");
  EXPECT_EQ(label->FocusControl(), edit);
  delete edit;  // the free notification clears the reference
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_EQ(GetPropertyPath(*label, "FocusControl").text, "nil");
}

TEST(Properties, EventsOutsideTheReaderBindTheOwnersHandlers) {
  TToyForm form(nullptr);
  auto* button = new TToyControl(&form);
  button->SetName("Button1");
  const PropertyInfo* onClick = button->Properties().Find("OnClick");
  EXPECT_FALSE(IsStored(*button, *onClick));
  toys::Journal().clear();
  SetPropertyPath(*button, "OnClick", PropertyValue::Identifier("Button1Click"));
  ASSERT_TRUE(button->OnClick);
  EXPECT_TRUE(IsStored(*button, *onClick));
  button->OnClick(button);
  EXPECT_EQ(toys::Journal(), (std::vector<std::string>{"click Button1"}));
  EXPECT_EQ(MessageOf<EPropertyError>([&] { SetPropertyPath(*button, "OnClick", PropertyValue::Identifier("Nope")); }),
            "Handler 'Nope' not found");
  EXPECT_EQ(MessageOf<EPropertyError>(
                [&] { SetPropertyPath(*button, "OnClick", PropertyValue::Identifier("WrongSignature")); }),
            "Handler 'WrongSignature' has the wrong type for OnClick");
  EXPECT_TRUE(button->OnClick);  // a failed binding keeps the handler it had
  SetPropertyPath(*button, "OnClick", PropertyValue::Identifier("nil"));
  EXPECT_FALSE(button->OnClick);
  EXPECT_THROW(GetPropertyPath(*button, "OnClick"), EPropertyError);
}

TEST(PropertyValue, AccessorsCheckTheKind) {
  EXPECT_EQ(PropertyValue::Integer(4).AsFloat(), 4.0L);
  EXPECT_TRUE(PropertyValue::Identifier("TRUE").AsBool());
  EXPECT_FALSE(PropertyValue::Identifier("false").AsBool());
  EXPECT_THROW(PropertyValue::Float(1.5L).AsInteger(), EConvertError);
  EXPECT_THROW(PropertyValue::String("x").AsIdentifier(), EConvertError);
  EXPECT_THROW(PropertyValue::Identifier("x").AsString(), EConvertError);
  EXPECT_THROW(PropertyValue::Set({}).AsStringList(), EConvertError);
  EXPECT_THROW(PropertyValue::StringList({}).AsSet(), EConvertError);
}

TEST(PropertyValue, ToTextWritesDescriptionSyntax) {
  EXPECT_EQ(PropertyValue::Integer(-12).ToText(), "-12");
  EXPECT_EQ(PropertyValue::Float(1.5L).ToText(), "1.5");
  EXPECT_EQ(PropertyValue::Float(2).ToText(), "2.0");
  EXPECT_EQ(PropertyValue::Float(1.5e300L).ToText(), "1.5E+300");
  EXPECT_EQ(PropertyValue::String("It's").ToText(), "'It''s'");
  EXPECT_EQ(PropertyValue::String("a\r\nb").ToText(), "'a'#13#10'b'");
  EXPECT_EQ(PropertyValue::String("").ToText(), "''");
  EXPECT_EQ(PropertyValue::Set({"a", "b"}).ToText(), "[a, b]");
  EXPECT_EQ(PropertyValue::StringList({"x", ""}).ToText(), "('x' '')");
  EXPECT_EQ(PropertyValue::StringList({}).ToText(), "()");
}

}  // namespace
}  // namespace tarvela
