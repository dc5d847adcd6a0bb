#pragma once
/// Reading form descriptions: the text that says which components a form has, how
/// they nest and what their published properties are. The reader creates the
/// components through the class registry, all owned by the root, and sets their
/// properties through the property tables.
///
/// Not a writer, and not an interpreter of handlers: events are bound to handlers
/// the root publishes through MethodAddress, and what runs after reading (a form's
/// create handler) is the root's own business.
///
/// The text, UTF-8, indentation free: @code{.unparsed}
///   object Form1: TForm1            (`object TLabel` for an unnamed component)
///     Caption = 'It''s '#13'two' +  (quotes, '' for a quote, #n a Unicode code
///       ' lines'                     point, adjacent pieces and + concatenate)
///     Left = -118                   (decimal, or $FF0000 hexadecimal)
///     Factor = 1.5E+003             (always a '.', whatever the locale)
///     Color = clBlue                (identifiers: values, True/False, nil, handlers)
///     Font.Style = [fsBold]         (sets; dotted paths into sub-objects)
///     Lines.Strings = ( 'a' 'b' )   (string lists, over any number of lines)
///     object Label1: TLabel         // comments run to the end of the line
///     end
///   end @endcode
/// @file
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/runtime/component.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

/// The message starts with the line: "Line 12: Unknown property 'Foo' of TLabel".
class EReadError : public Exception {
 public:
  EReadError(int line, const std::string& detail)
      : Exception("Line " + std::to_string(line) + ": " + detail), m_line(line), m_detail(detail) {}
  /// For a caller that names the text itself ("chart.txt:12: ...").
  int Line() const { return m_line; }
  const std::string& Detail() const { return m_detail; }

 private:
  int m_line;
  std::string m_detail;
};

struct PropertyValue;

/// What setters may need while a description is read.
struct ReadContext {
  struct Fixup {
    int line = 0;
    const TComponent* component = nullptr;  ///< whose property line it came from
    std::function<void(TComponent* root)> resolve;
  };

  // operations
  /// A step to run once every object of the description exists (a reference to a
  /// component that may come later in the text). It keeps the current line and
  /// component.
  void AddFixup(std::function<void(TComponent* root)> resolve);
  /// Runs the fixups in the order added and forgets them; a failure is an
  /// EReadError with the line of the property the fixup came from.
  void ResolveFixups();
  /// For a component that dies before its fixups run (one that another replaces while
  /// the text is read): they would set a property of what no longer exists.
  void ForgetFixupsOf(const TComponent* dead);

  // state
  TComponent* root = nullptr;
  TComponent* component = nullptr;  ///< whose property line is being applied
  int line = 0;                     ///< of the property line being applied
  /// For a list value being applied, the line each of its strings starts on, so that
  /// a setter that reads the strings one by one can name the line of a bad one.
  std::vector<int> itemLines;
  std::vector<Fixup> fixups;
};

/// What a kind of description adds to or takes from what the registry and the
/// property tables allow. The main form needs none of it; a text from outside the
/// program does (a chart file may name chart classes only).
struct ReadOptions {
  /// The reason why a component of className may not be created inside enclosing
  /// (null for the top object), or empty when it may. Asked before the registry, so a
  /// refused class is never constructed.
  std::function<std::string(std::string_view className, const TComponent* enclosing)> refuseClass;
  /// Takes a property line before the property tables: to set a property this kind
  /// of description gives besides the published ones, or to check a value by rules of
  /// its own. Returns true when it has set the property, false to leave the line to
  /// the tables.
  std::function<bool(TComponent& object, std::string_view path, const PropertyValue& value, ReadContext& ctx)>
      setProperty;
};

/// A word of a description as a message repeats it: whole when short, else its first
/// kMaxEchoedBytes bytes (never half a character) and "…", so that a text from outside
/// with a word of a million characters does not give a message of a megabyte.
inline constexpr std::size_t kMaxEchoedBytes = 40;
std::string EchoedToken(std::string_view token);

/// Objects nest at most this deep: the reader descends by recursion, and a text from
/// outside must not exhaust the stack.
inline constexpr int kMaxObjectNesting = 32;

/// Reads a description into an existing root (a form constructs itself, then reads
/// its built-in description). The top object's class must be root's ClassName();
/// its name becomes root's name. On failure the components read so far stay owned
/// by root, their loading state cleared, and EReadError propagates.
void ReadComponent(std::string_view description, TComponent& root);

/// Creates the root through the class registry as well. With an owner, the owner
/// owns the root too: the caller either destroys it through the pointer (which
/// takes it from the owner) or release()s the pointer and leaves it to the owner.
std::unique_ptr<TComponent> ReadRootComponent(std::string_view description, TComponent* owner = nullptr);
std::unique_ptr<TComponent> ReadRootComponent(std::string_view description, TComponent* owner,
                                              const ReadOptions& options);

}  // namespace tarvela
