#include "tarvela/runtime/form_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "runtime/toy_components.h"

namespace tarvela {
namespace {

using toys::Journal;
using toys::TToyControl;
using toys::TToyForm;

class FormReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    toys::RegisterToyClasses();
    Journal().clear();
  }
  void TearDown() override {
    for (const char* name : {"TToyForm", "TToyControl", "TToyPanel", "TToyHolder", "TToyPart"})
      ClassRegistry::Instance().Unregister(name);
  }

  static TToyControl& Control(TComponent& root, std::string_view name) {
    auto* control = dynamic_cast<TToyControl*>(root.FindComponent(name));
    if (control == nullptr) throw std::runtime_error("no control " + std::string(name));
    return *control;
  }

  // The message of the EReadError that reading text into a new root gives.
  static std::string ReadError(std::string_view text) {
    try {
      ReadRootComponent(text);
    } catch (const EReadError& e) {
      return e.Message();
    }
    return "(read without error)";
  }
};

TEST_F(FormReaderTest, ReadsEveryKindOfValue) {
  TToyForm form(nullptr);
  ReadComponent(R"(object Form1: TToyForm
  Caption = 'Tarvela'
  object Label1: TToyControl
    Left = -118
    Width = $7F
    Big = -9223372036854775808
    Ratio = 1.5E+003
    Visible = false
    Caption = 'It''s '#13#10'two' +
      ' lines '#8364#$1F600#55357#56832
    Color = clBlue
    Align = alClient
    Anchors = [akLeft, akBottom]
    Lines.Strings = (
      'first'
      ''
      'th' + 'ird'#9)
    Wall.Brush.Color = $FF0000
    Wall.Size = 200
  end
  object Memo1: TToyControl
    Lines.Strings = ()
    Color = -1
    Ratio = 0.1
    Left = -$10
  end
end
)",
                form);
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption(), "Tarvela");
  TToyControl& label = Control(form, "Label1");
  EXPECT_EQ(label.Left(), -118);
  EXPECT_EQ(label.Width(), 127);
  EXPECT_EQ(label.Big(), INT64_MIN);
  EXPECT_EQ(label.Ratio(), 1500.0);
  EXPECT_FALSE(label.Visible());
  EXPECT_EQ(label.Caption(), "It's \r\ntwo lines \xE2\x82\xAC\xF0\x9F\x98\x80\xF0\x9F\x98\x80");
  EXPECT_EQ(label.Color(), clBlue);
  EXPECT_EQ(label.Align(), toys::alClient);
  EXPECT_EQ(label.Anchors(), (1u << toys::akLeft) | (1u << toys::akBottom));
  EXPECT_EQ(label.Lines(), (std::vector<std::string>{"first", "", "third\t"}));
  EXPECT_EQ(label.Wall().Brush().Color(), 0xFF0000);
  EXPECT_EQ(label.Wall().Size(), 200);
  TToyControl& memo = Control(form, "Memo1");
  EXPECT_TRUE(memo.Lines().empty());
  EXPECT_EQ(memo.Color(), -1);
  EXPECT_DOUBLE_EQ(memo.Ratio(), 0.1);
  EXPECT_EQ(memo.Left(), -16);
}

TEST_F(FormReaderTest, NestedObjectsAreOwnedByTheRootAndGetTheirParentBeforeTheirProperties) {
  TToyForm form(nullptr);
  ReadComponent(R"(
object Form1: TToyForm
  object Panel1: TToyPanel
    Left = 1
    object Label1: TToyControl
      Caption = 'x'
    end
    Width = 2
  end
end)",
                form);
  EXPECT_EQ(Journal(), (std::vector<std::string>{
                           "create", "parent Panel1=Form1", "set Panel1.Left loading parent=Form1",
                           "create", "parent Label1=Panel1", "set Label1.Caption loading parent=Panel1",
                           "set Panel1.Width loading parent=Form1",
                           "loaded Form1", "loaded Panel1", "loaded Label1"}));
  ASSERT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(form.Components(0)->ClassName(), "TToyPanel");
  EXPECT_EQ(Control(form, "Label1").Owner(), &form);
  EXPECT_EQ(Control(form, "Label1").ParentComponent(), &Control(form, "Panel1"));
  EXPECT_FALSE(form.Loading());
  EXPECT_FALSE(Control(form, "Label1").Loading());
}

TEST_F(FormReaderTest, ReferencesAreResolvedOnceEveryObjectExistsAndBeforeLoaded) {
  TToyForm form(nullptr);
  ReadComponent(R"(object Form1: TToyForm
  ActiveControl = Edit1
  object Label1: TToyControl
    FocusControl = EDIT1
  end
  object Edit1: TToyControl
    FocusControl = nil
  end
end)",
                form);
  TToyControl& edit = Control(form, "Edit1");
  EXPECT_EQ(form.ActiveControl(), &edit);
  EXPECT_EQ(Control(form, "Label1").FocusControl(), &edit);
  EXPECT_EQ(edit.FocusControl(), nullptr);
  EXPECT_NE(std::find(Journal().begin(), Journal().end(), "loaded Label1 focus=Edit1"), Journal().end());
}

TEST_F(FormReaderTest, EventsAreBoundToTheRootsHandlersWithoutRunningThem) {
  TToyForm form(nullptr);
  ReadComponent(R"(object Form1: TToyForm
  OnCreate = FormCreate
  object Button1: TToyControl
    OnClick = Button1Click
  end
end)",
                form);
  ASSERT_TRUE(form.OnCreate);
  ASSERT_TRUE(Control(form, "Button1").OnClick);
  Journal().clear();
  form.OnCreate(&form);
  Control(form, "Button1").OnClick(&Control(form, "Button1"));
  EXPECT_EQ(Journal(), (std::vector<std::string>{"FormCreate", "click Button1"}));
}

TEST_F(FormReaderTest, ReadRootComponentCreatesTheRootThroughTheRegistry) {
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object Main: TToyForm
  object TToyControl   // unnamed
    Left = 3
  end
end)");
  EXPECT_EQ(root->ClassName(), "TToyForm");
  EXPECT_EQ(root->Name(), "Main");
  ASSERT_EQ(root->ComponentCount(), 1);
  EXPECT_EQ(root->Components(0)->Name(), "");
  EXPECT_EQ(dynamic_cast<TToyControl&>(*root->Components(0)).Left(), 3);

  TComponent application(nullptr);
  std::unique_ptr<TComponent> owned = ReadRootComponent("object Second: TToyForm end", &application);
  EXPECT_EQ(application.FindComponent("Second"), owned.get());
  owned.reset();  // taken from the owner as it dies
  EXPECT_EQ(application.ComponentCount(), 0);
}

TEST_F(FormReaderTest, TheTopObjectMustBeOfTheRootsClass) {
  TToyForm form(nullptr);
  try {
    ReadComponent("object Form1: TToyControl\nend", form);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Line 1: The description is of class TToyControl, not TToyForm");
  }
}

TEST_F(FormReaderTest, SyntaxErrorsGiveTheirLine) {
  EXPECT_EQ(ReadError(""), "Line 1: Expected 'object' but found end of text");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Caption = 'open\nend"), "Line 2: Unterminated string");
  EXPECT_EQ(ReadError("object F: TToyForm\r\n  Caption = 'a' +\r\n\r\n  'b\r\nend"), "Line 4: Unterminated string");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Left = 1\n  end\n"),
            "Line 5: Missing 'end' of object F (line 1)");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Left = 1\nend\n"),
            "Line 5: Missing 'end' of object F (line 1)");
  EXPECT_EQ(ReadError("object F: TToyForm\nend\nobject G: TToyForm\nend"),
            "Line 3: Expected end of text but found 'object'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Caption 'x'\nend"), "Line 2: Expected '=' but found a string");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Caption = @\nend"), "Line 2: Unexpected character '@'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Caption =\n  ]\nend"), "Line 3: Expected a value but found ']'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Tag = 12x\nend"),
            "Line 2: Expected the end of the line after the value but found 'x'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Tag = 1 Caption = 'a'\nend"),
            "Line 2: Expected the end of the line after the value but found 'Caption'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Tag = 9223372036854775808\nend"),
            "Line 2: Integer 9223372036854775808 is out of range");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Tag = -9223372036854775809\nend"),
            "Line 2: Integer -9223372036854775809 is out of range");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Caption = 'a'#55357'b'\nend"), "Line 2: Invalid character code #55357");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Caption = #1114112\nend"), "Line 2: Invalid character code #1114112");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Lines.Strings = (\n      'a'\n"),
            "Line 5: Missing ')' of the list begun at line 3");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Lines.Strings = ('a' 2)\n  end\nend"),
            "Line 3: Expected a string in the list but found 2");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Anchors = [akLeft akTop]\n  end\nend"),
            "Line 3: Expected ',' but found 'akTop'");
}

TEST_F(FormReaderTest, ErrorsOfContentGiveTheLineOfTheirProperty) {
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TNothing\n  end\nend"), "Line 2: Class TNothing not found");
  EXPECT_EQ(ReadError("object F: TNothing\nend"), "Line 1: Class TNothing not found");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Left = 1\n    Colour = clRed\n  end\nend"),
            "Line 4: Unknown property 'Colour' of TToyControl");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Width = 40000\n  end\nend"),
            "Line 3: Invalid value for property 'Width' of TToyControl: 40000 is out of range -32768..32767");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Align = alLeft\n  end\nend"),
            "Line 3: Invalid value for property 'Align' of TToyControl: Unknown identifier alLeft");
  EXPECT_EQ(ReadError("object F: TToyForm\n  OnCreate = Nope\nend"), "Line 2: Handler 'Nope' not found");
  EXPECT_EQ(ReadError("object F: TToyForm\n  OnCreate = WrongSignature\nend"),
            "Line 2: Handler 'WrongSignature' has the wrong type for OnCreate");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n  end\n  object l: TToyControl\n  end\nend"),
            "Line 4: A component named l already exists");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    FocusControl = Edit9\n  end\n"
                      "  object E: TToyControl\n  end\nend"),
            "Line 3: Unknown component 'Edit9' in property 'FocusControl'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n\n    FocusControl = F\n  end\nend"),
            "Line 4: Component 'F' (TToyForm) does not fit property 'FocusControl'");
}

// A word from outside is repeated in a message up to 40 bytes and "…": a number, a
// name, a class or a value of a million characters gives a message of a line.
TEST_F(FormReaderTest, MessagesRepeatLongWordsCutToFortyBytes) {
  const std::string digits(1000000, '7');
  const std::string cut = digits.substr(0, 40) + "\u2026";
  EXPECT_EQ(ReadError("object F: TToyForm\n  Tag = " + digits + "\nend"), "Line 2: Integer " + cut + " is out of range");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Tag = 1" + digits + "e999999\nend"),
            "Line 2: Number 1" + digits.substr(0, 39) + "\u2026 is out of range");
  EXPECT_EQ(ReadError("object F: TToyForm\n  Tag = 1 0." + digits + "\nend"),
            "Line 2: Expected the end of the line after the value but found 0." + digits.substr(0, 38) + "\u2026");
  const std::string name = "N" + std::string(999999, 'x');
  const std::string nameCut = name.substr(0, 40) + "\u2026";
  EXPECT_EQ(ReadError("object F: TToyForm\n  " + name + "\nend"),
            "Line 2: Expected 'end' or a property but found '" + nameCut + "'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  " + name + " = 1\nend"),
            "Line 2: Unknown property '" + nameCut + "' of TToyForm");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Align = " + name + "\n  end\nend"),
            "Line 3: Invalid value for property 'Align' of TToyControl: Unknown identifier " + nameCut);
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: " + name + "\n  end\nend"), "Line 2: Class " + nameCut + " not found");
  EXPECT_EQ(ReadError("object F: TToyForm\n  " + name + " " + name + "\nend"),
            "Line 2: Expected '=' but found '" + nameCut + "'");
  // A cut never splits a character: "é" takes two bytes, the 40th and 41st here.
  const std::string accented = "A" + std::string(38, 'b') + "\u00e9\u00e9\u00e9";
  EXPECT_EQ(EchoedToken(accented), accented.substr(0, 39) + "\u2026");
  EXPECT_EQ(EchoedToken(std::string(40, 'z')), std::string(40, 'z'));
  EXPECT_EQ(EchoedToken(std::string(41, 'z')), std::string(40, 'z') + "\u2026");
  EXPECT_EQ(EchoedToken(""), "");
}

// A CR alone ends a line as LF and CR LF do; a CR LF is one line end, not two, and a
// comment ends at any of them.
TEST_F(FormReaderTest, ACarriageReturnAloneEndsALine) {
  EXPECT_EQ(ReadError("object F: TToyForm\r  Tag = 1x\rend"), "Line 2: Expected the end of the line after the value but found 'x'");
  EXPECT_EQ(ReadError("object F: TToyForm\r\n  Tag = 1\r\n\r  Tag = @\rend"), "Line 4: Unexpected character '@'");
  EXPECT_EQ(ReadError("object F: TToyForm\n\r  Tag = @\nend"), "Line 3: Unexpected character '@'");
  EXPECT_EQ(ReadError("object F: TToyForm // a comment\r  Tag = @\rend"), "Line 2: Unexpected character '@'");
  EXPECT_EQ(ReadError("object F: TToyForm\r  Caption = 'open\rend"), "Line 2: Unterminated string");
  // Two properties on lines ended by CR alone are two lines, not one with two values.
  std::unique_ptr<TComponent> root = ReadRootComponent("object F: TToyForm\r  object L: TToyControl\r    Left = 3\r"
                                                       "    Width = 4\r  end\rend\r");
  EXPECT_EQ(Control(*root, "L").Left(), 3);
  EXPECT_EQ(Control(*root, "L").Width(), 4);
}

// A reference names one component, so a name is taken once in a description, the
// root's name included (a reference to the root's name finds the root).
TEST_F(FormReaderTest, ANameIsTakenOnceInTheWholeDescription) {
  EXPECT_EQ(ReadError("object F: TToyForm\n  object P: TToyPanel\n  end\n  object f: TToyControl\n  end\nend"),
            "Line 4: A component named f already exists");
  // Unnamed components never clash.
  EXPECT_NO_THROW(ReadRootComponent("object F: TToyForm\n  object TToyControl\n  end\n  object TToyControl\n  end\nend"));
}

// A word alone where a property or `end` belongs is named on its own line, not on the
// line of whatever follows it.
TEST_F(FormReaderTest, AMisspelledEndIsReportedOnItsOwnLine) {
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Left = 1\n  edn\nend\n"),
            "Line 4: Expected 'end' or a property but found 'edn'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n  ned\n  object M: TToyControl\n  end\nend\n"),
            "Line 3: Expected 'end' or a property but found 'ned'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n  end\nedn"),
            "Line 4: Expected 'end' or a property but found 'edn'");
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Wall.Size\n  end\nend"),
            "Line 3: Expected '=' after Wall.Size");
}

// A component may die while the text is still read: a holder given a second part
// releases the first. The reader neither announces it as loaded, nor resolves its
// references, nor clears its loading state after a failure.
TEST_F(FormReaderTest, AComponentThatDiesWhileTheTextIsReadIsForgotten) {
  const std::string text = R"(object F: TToyForm
  object H: TToyHolder
    object A: TToyPart
      FocusControl = H
    end
    object B: TToyPart
      FocusControl = H
    end
  end
)";
  std::unique_ptr<TComponent> root = ReadRootComponent(text + "end\n");
  auto& holder = dynamic_cast<toys::TToyHolder&>(Control(*root, "H"));
  ASSERT_NE(holder.Part(), nullptr);
  EXPECT_EQ(holder.Part()->Name(), "B");
  EXPECT_EQ(holder.Part()->FocusControl(), &holder);
  EXPECT_FALSE(holder.Part()->Loading());
  auto loadedOrDestroyed = [](const std::string& entry) {
    return entry.starts_with("loaded") || entry.starts_with("destroy");
  };
  std::vector<std::string> lifecycle;
  std::copy_if(Journal().begin(), Journal().end(), std::back_inserter(lifecycle), loadedOrDestroyed);
  EXPECT_EQ(lifecycle, (std::vector<std::string>{"destroy A", "loaded F", "loaded H", "loaded B focus=H"}));

  EXPECT_EQ(ReadError(text + "  object L: TToyControl\n    Left = 'x'\n  end\nend\n"),
            "Line 11: Invalid value for property 'Left' of TToyControl: Expected an integer but found string 'x'");
}

TEST_F(FormReaderTest, AFailedReadLeavesWhatWasReadOwnedByTheRoot) {
  TToyForm form(nullptr);
  EXPECT_THROW(ReadComponent(R"(object Form1: TToyForm
  object Label1: TToyControl
    Left = 1
  end
  object Label2: TToyControl
    Left = 'x'
  end
  object Label3: TToyControl
  end
end)",
                             form),
               EReadError);
  ASSERT_EQ(form.ComponentCount(), 2);
  EXPECT_FALSE(form.Loading());
  EXPECT_FALSE(Control(form, "Label2").Loading());
  // Nothing was announced as loaded.
  auto isLoaded = [](const std::string& entry) { return entry.starts_with("loaded"); };
  EXPECT_EQ(std::count_if(Journal().begin(), Journal().end(), isLoaded), 0);

  TComponent application(nullptr);
  EXPECT_THROW(ReadRootComponent("object F: TToyForm\n  object L: TToyControl\n    Left = x\n", &application),
               EReadError);
  EXPECT_EQ(application.ComponentCount(), 0);  // the half-read root died with its parts
}

TEST_F(FormReaderTest, CommentsKeywordCaseAndKeywordLikeNamesAreHandled) {
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(// a form
OBJECT Form1: TToyForm  // the root
  Caption = 'http://example'   // not a comment inside quotes
  Object Label1: TToyControl
    Wall.Size = 1
  END
eNd
// trailing comment)");
  EXPECT_EQ(dynamic_cast<TToyForm&>(*root).Caption(), "http://example");
  EXPECT_EQ(Control(*root, "Label1").Wall().Size(), 1);
}

TEST_F(FormReaderTest, StringsWrittenAsTextReadBackUnchanged) {
  const std::string tricky = "It's\r\n\t'' quoted \xE2\x82\xAC // not a comment";
  std::string text = "object F: TToyForm\n  Caption = " + PropertyValue::String(tricky).ToText() + "\nend";
  std::unique_ptr<TComponent> root = ReadRootComponent(text);
  EXPECT_EQ(dynamic_cast<TToyForm&>(*root).Caption(), tricky);
}

TEST_F(FormReaderTest, OptionsRefuseClassesBeforeCreatingThemAndAddProperties) {
  ReadOptions options;
  std::vector<std::string> asked;
  options.refuseClass = [&](std::string_view className, const TComponent* enclosing) -> std::string {
    asked.push_back(std::string(className) + " in " + (enclosing ? enclosing->Name() : std::string("-")));
    return className == "TToyPanel" ? "No panels here" : "";
  };
  std::vector<std::string> seen;
  std::vector<int> seenLines;
  options.setProperty = [&](TComponent& object, std::string_view path, const PropertyValue& value, ReadContext& ctx) {
    if (path != "Extra" || dynamic_cast<TToyControl*>(&object) == nullptr) return false;
    seen = value.AsStringList();
    seenLines = ctx.itemLines;
    return true;
  };

  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object F: TToyForm
  object L: TToyControl
    Extra = ('a'
      'b' +
      'c'   'd')
    Left = 3
  end
end)",
                                                       nullptr, options);
  EXPECT_EQ(asked, (std::vector<std::string>{"TToyForm in -", "TToyControl in F"}));
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "bc", "d"}));
  EXPECT_EQ(seenLines, (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(Control(*root, "L").Left(), 3);  // the published ones still apply

  Journal().clear();
  try {
    ReadRootComponent("object F: TToyForm\n  object L: TToyControl\n  end\n  object P: TToyPanel\n  end\nend",
                      nullptr, options);
    ADD_FAILURE() << "read a refused class";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Line 4: No panels here");
    EXPECT_EQ(e.Line(), 4);
    EXPECT_EQ(e.Detail(), "No panels here");
  }
  // The refused panel was never constructed; the control read before it died with the root.
  EXPECT_EQ(Journal(), (std::vector<std::string>{"create", "parent L=F", "destroy L"}));
  // Without the options the extra property is unknown.
  EXPECT_EQ(ReadError("object F: TToyForm\n  object L: TToyControl\n    Extra = ('a')\n  end\nend"),
            "Line 3: Unknown property 'Extra' of TToyControl");
}

TEST_F(FormReaderTest, ObjectsNestedTooDeepAreRefusedWithTheirLine) {
  auto nested = [](int levels) {
    std::string text = "object F: TToyForm\n";
    for (int i = 1; i < levels; ++i) text += "object TToyControl\n";
    for (int i = 0; i < levels; ++i) text += "end\n";
    return text;
  };
  EXPECT_NO_THROW(ReadRootComponent(nested(kMaxObjectNesting)));
  EXPECT_EQ(ReadError(nested(kMaxObjectNesting + 1)),
            "Line " + std::to_string(kMaxObjectNesting + 1) + ": Objects nest deeper than " +
                std::to_string(kMaxObjectNesting) + " levels");
  // Far deeper than a stack of recursive calls would survive.
  EXPECT_NE(ReadError(nested(1000000)).find("Objects nest deeper"), std::string::npos);
}

}  // namespace
}  // namespace tarvela
