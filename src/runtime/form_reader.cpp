#include "tarvela/runtime/form_reader.h"

#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <new>
#include <string>
#include <unordered_set>

#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/identifiers.h"
#include "tarvela/runtime/properties.h"
#include "tarvela/runtime/property_value.h"

namespace tarvela {

namespace {

}  // namespace

std::string EchoedToken(std::string_view token) {
  if (token.size() <= kMaxEchoedBytes) return std::string(token);
  std::size_t end = kMaxEchoedBytes;
  // Back to the first byte of a UTF-8 character, so that the cut splits none.
  while (end > 0 && (static_cast<unsigned char>(token[end]) & 0xC0) == 0x80) --end;
  return std::string(token.substr(0, end)) + "\u2026";
}

namespace {

[[noreturn]] void ThrowAt(int line, const std::string& message) { throw EReadError(line, message); }

// message with every long word of words in it cut as EchoedToken cuts it: the
// property tables repeat a name or a value whole.
std::string ShortenedEchoes(std::string message, std::initializer_list<std::string_view> words) {
  for (const std::string_view word : words) {
    if (word.size() <= kMaxEchoedBytes) continue;
    const std::string cut = EchoedToken(word);
    for (std::size_t at = message.find(word); at != std::string::npos; at = message.find(word, at + cut.size()))
      message.replace(at, word.size(), cut);
  }
  return message;
}

// Runs step and gives any failure the line; only a lack of memory passes as it is.
template <class Step>
void AtLine(int line, Step&& step, std::initializer_list<std::string_view> echoedWords = {}) {
  try {
    step();
  } catch (const EReadError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const Exception& e) {
    ThrowAt(line, ShortenedEchoes(e.Message(), echoedWords));
  } catch (const std::exception& e) {
    ThrowAt(line, ShortenedEchoes(e.what(), echoedWords));
  }
}

// [SECTION] Tokens

enum class TokenKind { End, Ident, Integer, Float, String, Symbol };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;             // identifier, string contents, number as written
  std::uint64_t magnitude = 0;  // Integer, without sign
  long double floating = 0;     // Float, without sign
  char symbol = 0;
  int line = 1;
};

std::string Describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::End: return "end of text";
    case TokenKind::Ident: return "'" + EchoedToken(token.text) + "'";
    case TokenKind::Integer:
    case TokenKind::Float: return EchoedToken(token.text);
    case TokenKind::String: return "a string";
    case TokenKind::Symbol: return std::string("'") + token.symbol + "'";
  }
  return "?";
}

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : m_text(text) {
    if (m_text.starts_with("\xEF\xBB\xBF")) m_pos = 3;
  }

  Token Next() {
    SkipBlanks();
    Token token;
    token.line = m_line;
    if (m_pos >= m_text.size()) return token;
    char c = m_text[m_pos];
    if (IsIdentStart(c)) {
      std::size_t start = m_pos;
      while (m_pos < m_text.size() && (IsIdentStart(m_text[m_pos]) || IsDigit(m_text[m_pos]))) ++m_pos;
      token.kind = TokenKind::Ident;
      token.text = m_text.substr(start, m_pos - start);
    } else if (IsDigit(c)) {
      ReadNumber(token);
    } else if (c == '$') {
      ReadHex(token);
    } else if (c == '\'' || c == '#') {
      ReadString(token);
    } else if (std::string_view("=:.,[]()+-").find(c) != std::string_view::npos) {
      token.kind = TokenKind::Symbol;
      token.symbol = c;
      ++m_pos;
    } else {
      auto byte = static_cast<unsigned char>(c);
      ThrowAt(m_line, byte < 0x80 && byte >= 0x20 ? std::string("Unexpected character '") + c + "'"
                                                  : "Unexpected character #" + std::to_string(byte));
    }
    return token;
  }

 private:
  void SkipBlanks() {
    while (m_pos < m_text.size()) {
      char c = m_text[m_pos];
      if (c == '\n' || c == '\r') {
        // CR LF is one line end; a CR alone is one too (files of old systems).
        ++m_line;
        m_pos += c == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n' ? 2 : 1;
      } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
        ++m_pos;
      } else if (c == '/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '/') {
        while (m_pos < m_text.size() && m_text[m_pos] != '\n' && m_text[m_pos] != '\r') ++m_pos;
      } else {
        return;
      }
    }
  }

  void ReadNumber(Token& token) {
    std::size_t start = m_pos;
    while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) ++m_pos;
    bool isFloat = false;
    if (m_pos + 1 < m_text.size() && m_text[m_pos] == '.' && IsDigit(m_text[m_pos + 1])) {
      isFloat = true;
      ++m_pos;
      while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) ++m_pos;
    }
    if (m_pos < m_text.size() && (m_text[m_pos] == 'E' || m_text[m_pos] == 'e')) {
      std::size_t digits = m_pos + 1;
      if (digits < m_text.size() && (m_text[digits] == '+' || m_text[digits] == '-')) ++digits;
      if (digits < m_text.size() && IsDigit(m_text[digits])) {
        isFloat = true;
        m_pos = digits;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) ++m_pos;
      }
    }
    token.text = m_text.substr(start, m_pos - start);
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    if (isFloat) {
      token.kind = TokenKind::Float;
      auto [end, ec] = std::from_chars(first, last, token.floating);
      if (ec != std::errc() || end != last)
        ThrowAt(token.line, "Number " + EchoedToken(token.text) + " is out of range");
    } else {
      token.kind = TokenKind::Integer;
      auto [end, ec] = std::from_chars(first, last, token.magnitude);
      if (ec != std::errc() || end != last)
        ThrowAt(token.line, "Integer " + EchoedToken(token.text) + " is out of range");
    }
  }

  void ReadHex(Token& token) {
    std::size_t start = m_pos++;
    std::size_t digits = m_pos;
    while (m_pos < m_text.size() && IsHexDigit(m_text[m_pos])) ++m_pos;
    token.kind = TokenKind::Integer;
    token.text = m_text.substr(start, m_pos - start);
    if (m_pos == digits) ThrowAt(token.line, "Expected hexadecimal digits after '$'");
    auto [end, ec] = std::from_chars(m_text.data() + digits, m_text.data() + m_pos, token.magnitude, 16);
    if (ec != std::errc()) ThrowAt(token.line, "Integer " + EchoedToken(token.text) + " is out of range");
  }

  // Quoted pieces and #n character codes, as long as they follow each other directly.
  void ReadString(Token& token) {
    token.kind = TokenKind::String;
    char32_t pendingHigh = 0;  // a UTF-16 high surrogate waiting for its low half
    while (m_pos < m_text.size() && (m_text[m_pos] == '\'' || m_text[m_pos] == '#')) {
      if (m_text[m_pos] == '#') {
        char32_t code = ReadCharCode();
        if (pendingHigh != 0) {
          if (code < 0xDC00 || code > 0xDFFF) ThrowAt(m_line, "Invalid character code #" + std::to_string(pendingHigh));
          AppendUtf8(token.text, 0x10000 + ((pendingHigh - 0xD800) << 10) + (code - 0xDC00));
          pendingHigh = 0;
        } else if (code >= 0xD800 && code <= 0xDBFF) {
          pendingHigh = code;
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
          ThrowAt(m_line, "Invalid character code #" + std::to_string(code));
        } else {
          AppendUtf8(token.text, code);
        }
        continue;
      }
      if (pendingHigh != 0) ThrowAt(m_line, "Invalid character code #" + std::to_string(pendingHigh));
      ++m_pos;  // opening quote
      for (;;) {
        if (m_pos >= m_text.size() || m_text[m_pos] == '\n' || m_text[m_pos] == '\r')
          ThrowAt(m_line, "Unterminated string");
        char c = m_text[m_pos++];
        if (c != '\'') {
          token.text += c;
        } else if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
          token.text += '\'';
          ++m_pos;
        } else {
          break;
        }
      }
    }
    if (pendingHigh != 0) ThrowAt(m_line, "Invalid character code #" + std::to_string(pendingHigh));
  }

  char32_t ReadCharCode() {
    ++m_pos;  // '#'
    int base = 10;
    if (m_pos < m_text.size() && m_text[m_pos] == '$') {
      base = 16;
      ++m_pos;
    }
    std::size_t start = m_pos;
    while (m_pos < m_text.size() && (base == 16 ? IsHexDigit(m_text[m_pos]) : IsDigit(m_text[m_pos]))) ++m_pos;
    std::uint32_t code = 0;
    auto [end, ec] = std::from_chars(m_text.data() + start, m_text.data() + m_pos, code, base);
    if (m_pos == start) ThrowAt(m_line, "Expected a character code after '#'");
    if (ec != std::errc() || code > 0x10FFFF)
      ThrowAt(m_line, "Invalid character code #" + EchoedToken(m_text.substr(start, m_pos - start)));
    return code;
  }

  std::string_view m_text;
  std::size_t m_pos = 0;
  int m_line = 1;
};

// [SECTION] Reader

struct ObjectHeader {
  std::string name;  // empty for `object TClass`
  std::string className;
  int line = 0;
};

void RefuseClass(const ReadOptions& options, const ObjectHeader& header, const TComponent* enclosing) {
  if (!options.refuseClass) return;
  std::string reason = options.refuseClass(header.className, enclosing);
  if (!reason.empty()) ThrowAt(header.line, reason);
}

// The components read so far, for Loaded() at the end or for clearing their loading
// state after a failure. A component may die before then: a setter or a parent may
// replace it (a series given a second function releases the first), so the list
// hears of every death and forgets the dead (their entries stay, emptied, so that a
// death during ForEach moves no entry).
class ReadComponents : public TComponent {
 public:
  struct Entry {
    TComponent* component;
    int line;
  };

  explicit ReadComponents(ReadContext& ctx) : TComponent(nullptr), m_ctx(ctx) {}

  void Add(TComponent* component, int line) {
    m_entries.push_back({component, line});
    component->FreeNotification(this);
  }
  // Takes name for the description; false when a component read before had it
  // (letter case ignored, the root and the dead counted), looked up in constant time
  // so that a description of thousands of components reads in linear time.
  bool TakeName(std::string_view name) { return m_names.insert(IdentKey(name)).second; }
  // The living ones, in the order read; a step may destroy any of them.
  template <class Step>
  void ForEach(Step&& step) {
    for (std::size_t i = 0; i < m_entries.size(); ++i)
      if (m_entries[i].component != nullptr) step(m_entries[i]);
  }

  void Notification(TComponent* component, TOperation operation) override {
    if (operation != opRemove) return;
    for (Entry& entry : m_entries)
      if (entry.component == component) entry.component = nullptr;
    m_ctx.ForgetFixupsOf(component);
  }

 private:
  ReadContext& m_ctx;
  std::vector<Entry> m_entries;
  std::unordered_set<std::string> m_names;
};

class Reader {
 public:
  Reader(std::string_view text, ReadContext& ctx, const ReadOptions& options)
      : m_lexer(text), m_ctx(ctx), m_options(options), m_read(ctx) {
    m_current = m_lexer.Next();
    m_next = m_lexer.Next();
  }

  // `object Name: TClass` or `object TClass` at the top of the text.
  ObjectHeader ReadTopHeader() {
    if (!IsKeyword(m_current, "object")) Fail("Expected 'object' but found " + Describe(m_current));
    return ReadHeader();
  }

  // Everything of the root after its header; the caller has created root.
  void ReadRoot(const ObjectHeader& header, TComponent& root) {
    m_ctx.root = &root;
    m_read.Add(&root, header.line);
    if (!header.name.empty()) m_read.TakeName(header.name);
    root.SetLoading(true);
    try {
      if (!header.name.empty()) AtLine(header.line, [&] { root.SetName(header.name); }, {header.name});
      ReadBody(root, header, 1);
      if (m_current.kind != TokenKind::End) Fail("Expected end of text but found " + Describe(m_current));
      m_ctx.ResolveFixups();
      m_read.ForEach([](const ReadComponents::Entry& entry) {
        AtLine(entry.line, [&] { entry.component->Loaded(); });
      });
    } catch (...) {
      m_read.ForEach([](const ReadComponents::Entry& entry) { entry.component->SetLoading(false); });
      throw;
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { ThrowAt(m_current.line, message); }

  static bool IsKeyword(const Token& token, std::string_view word) {
    return token.kind == TokenKind::Ident && SameIdent(token.text, word);
  }
  bool IsSymbol(char symbol) const { return m_current.kind == TokenKind::Symbol && m_current.symbol == symbol; }

  void Advance() {
    m_previousLine = m_current.line;
    m_current = std::move(m_next);
    m_next = m_lexer.Next();  // at the end of the text, End again
  }

  void Expect(char symbol) {
    if (!IsSymbol(symbol)) Fail(std::string("Expected '") + symbol + "' but found " + Describe(m_current));
    Advance();
  }

  std::string ExpectIdent(const char* what) {
    if (m_current.kind != TokenKind::Ident) Fail(std::string("Expected ") + what + " but found " + Describe(m_current));
    std::string text = m_current.text;
    Advance();
    return text;
  }

  // After `object`.
  ObjectHeader ReadHeader() {
    ObjectHeader header;
    header.line = m_current.line;
    Advance();
    std::string first = ExpectIdent("a component name");
    if (IsSymbol(':')) {
      Advance();
      header.name = std::move(first);
      header.className = ExpectIdent("a class name");
    } else {
      header.className = std::move(first);
    }
    return header;
  }

  // Property lines and nested objects up to the object's `end`. The keywords only
  // count where a property name could not stand (a property may be named End).
  // depth: how many objects enclose the body's, the object itself included.
  void ReadBody(TComponent& object, const ObjectHeader& header, int depth) {
    for (;;) {
      bool startsAssignment = m_next.kind == TokenKind::Symbol && (m_next.symbol == '=' || m_next.symbol == '.');
      if (IsKeyword(m_current, "end") && !startsAssignment) {
        Advance();
        return;
      }
      if (IsKeyword(m_current, "object") && m_next.kind == TokenKind::Ident) {
        if (depth >= kMaxObjectNesting)
          Fail("Objects nest deeper than " + std::to_string(kMaxObjectNesting) + " levels");
        ReadNested(object, ReadHeader(), depth + 1);
      } else if (m_current.kind == TokenKind::Ident) {
        ReadPropertyLine(object);
      } else if (m_current.kind == TokenKind::End) {
        std::string name = header.name.empty() ? header.className : header.name;
        Fail("Missing 'end' of object " + EchoedToken(name) + " (line " + std::to_string(header.line) + ")");
      } else {
        Fail("Expected a property name, 'object' or 'end' but found " + Describe(m_current));
      }
    }
  }

  void ReadNested(TComponent& enclosing, const ObjectHeader& header, int depth) {
    TComponent& root = *m_ctx.root;
    // Names are unique in the whole description, the root's included: a reference
    // names one component. The owners alone would not see every clash, since a
    // component may move to another owner while it is read (a series takes its
    // function) and an owner's own name is not among its components'.
    if (!header.name.empty() && !m_read.TakeName(header.name))
      ThrowAt(header.line, "A component named " + EchoedToken(header.name) + " already exists");
    TComponent* created = nullptr;
    AtLine(header.line, [&] {
      RefuseClass(m_options, header, &enclosing);
      created = ClassRegistry::Instance().Create(header.className, &root);
      // Whatever the factory did, the root owns every component of the description.
      if (created->Owner() != &root) root.InsertComponent(created);
    }, {header.className});
    m_read.Add(created, header.line);
    created->SetLoading(true);
    AtLine(
        header.line,
        [&] {
          if (!header.name.empty()) created->SetName(header.name);
          created->SetParentComponent(&enclosing);
        },
        {header.name});
    ReadBody(*created, header, depth);
  }

  void ReadPropertyLine(TComponent& object) {
    int line = m_current.line;
    std::string path = ExpectIdent("a property name");
    while (IsSymbol('.')) {
      Advance();
      path += '.';
      path += ExpectIdent("a property name");
    }
    // A word alone on its line is a misspelled `end` more often than a property that
    // lost its value; either way the mistake is on this line, not on the next.
    if (!IsSymbol('=') && (m_current.line != line || m_current.kind == TokenKind::End)) {
      if (path.find('.') == std::string::npos)
        ThrowAt(line, "Expected 'end' or a property but found '" + EchoedToken(path) + "'");
      ThrowAt(line, "Expected '=' after " + EchoedToken(path));
    }
    Expect('=');
    m_listLines.clear();
    PropertyValue value = ReadValue();
    // One property a line: what follows a value on its line is a mistake in it
    // ("Left = 12x", "Ratio = 1.5.2"), better named there than on the next line.
    if (m_current.kind != TokenKind::End && m_current.line == m_previousLine)
      Fail("Expected the end of the line after the value but found " + Describe(m_current));
    m_ctx.line = line;
    m_ctx.component = &object;
    m_ctx.itemLines = std::move(m_listLines);
    const bool textual = value.kind == PropertyValue::Kind::Identifier || value.kind == PropertyValue::Kind::String;
    AtLine(
        line,
        [&] {
          if (m_options.setProperty && m_options.setProperty(object, path, value, m_ctx)) return;
          SetPropertyPath(object, path, value, &m_ctx);
        },
        {path, textual ? std::string_view(value.text) : std::string_view()});
    m_ctx.itemLines.clear();
  }

  PropertyValue ReadValue() {
    switch (m_current.kind) {
      case TokenKind::String: return PropertyValue::String(ReadString());
      case TokenKind::Integer:
      case TokenKind::Float: return ReadNumber(false);
      case TokenKind::Ident: {
        std::string ident = ExpectIdent("an identifier");
        while (IsSymbol('.')) {
          Advance();
          ident += '.';
          ident += ExpectIdent("an identifier");
        }
        return PropertyValue::Identifier(std::move(ident));
      }
      case TokenKind::Symbol:
        if (IsSymbol('-')) {
          Advance();
          if (m_current.kind != TokenKind::Integer && m_current.kind != TokenKind::Float)
            Fail("Expected a number after '-' but found " + Describe(m_current));
          return ReadNumber(true);
        }
        if (IsSymbol('[')) return ReadSet();
        if (IsSymbol('(')) return ReadList();
        break;
      case TokenKind::End: break;
    }
    Fail("Expected a value but found " + Describe(m_current));
  }

  PropertyValue ReadNumber(bool negative) {
    Token number = std::move(m_current);
    Advance();
    if (number.kind == TokenKind::Float) return PropertyValue::Float(negative ? -number.floating : number.floating);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (number.magnitude > kMax + (negative ? 1 : 0))
      ThrowAt(number.line,
              "Integer " + std::string(negative ? "-" : "") + EchoedToken(number.text) + " is out of range");
    if (!negative) return PropertyValue::Integer(static_cast<std::int64_t>(number.magnitude));
    // Negated in unsigned arithmetic so that the smallest int64 needs no overflow.
    return PropertyValue::Integer(static_cast<std::int64_t>(0 - number.magnitude));
  }

  // Pieces joined by '+', across lines.
  std::string ReadString() {
    std::string text = std::move(m_current.text);
    Advance();
    while (IsSymbol('+')) {
      Advance();
      if (m_current.kind != TokenKind::String) Fail("Expected a string after '+' but found " + Describe(m_current));
      text += m_current.text;
      Advance();
    }
    return text;
  }

  PropertyValue ReadSet() {
    Advance();  // '['
    std::vector<std::string> members;
    if (IsSymbol(']')) {
      Advance();
      return PropertyValue::Set(std::move(members));
    }
    for (;;) {
      members.push_back(ExpectIdent("a set member"));
      if (IsSymbol(']')) break;
      Expect(',');
    }
    Advance();
    return PropertyValue::Set(std::move(members));
  }

  PropertyValue ReadList() {
    int line = m_current.line;
    Advance();  // '('
    std::vector<std::string> lines;
    while (!IsSymbol(')')) {
      if (m_current.kind == TokenKind::End) Fail("Missing ')' of the list begun at line " + std::to_string(line));
      if (m_current.kind != TokenKind::String) Fail("Expected a string in the list but found " + Describe(m_current));
      m_listLines.push_back(m_current.line);
      lines.push_back(ReadString());
    }
    Advance();
    return PropertyValue::StringList(std::move(lines));
  }

  Lexer m_lexer;
  ReadContext& m_ctx;
  const ReadOptions& m_options;
  std::vector<int> m_listLines;  // of the list value being read
  int m_previousLine = 1;        // of the token before m_current
  Token m_current;
  Token m_next;
  ReadComponents m_read;
};

}  // namespace

void ReadContext::AddFixup(std::function<void(TComponent* root)> resolve) {
  fixups.push_back(Fixup{line, component, std::move(resolve)});
}

// In place and by index, so that a component dying while one fixup runs can still
// have its later fixups forgotten; each step is taken out before it runs, since a
// step may add fixups and so move the list.
void ReadContext::ResolveFixups() {
  for (std::size_t i = 0; i < fixups.size(); ++i) {
    std::function<void(TComponent*)> resolve = std::move(fixups[i].resolve);
    fixups[i].resolve = nullptr;
    if (!resolve) continue;
    AtLine(fixups[i].line, [&] {
      if (root == nullptr) throw EPropertyError("No root to resolve references in");
      resolve(root);
    });
  }
  fixups.clear();
}

void ReadContext::ForgetFixupsOf(const TComponent* dead) {
  for (Fixup& fixup : fixups)
    if (fixup.component == dead) fixup.resolve = nullptr;
}

void ReadComponent(std::string_view description, TComponent& root) {
  ReadContext ctx;
  const ReadOptions options;
  Reader reader(description, ctx, options);
  ObjectHeader header = reader.ReadTopHeader();
  if (!SameIdent(header.className, root.ClassName()))
    ThrowAt(header.line,
            "The description is of class " + EchoedToken(header.className) + ", not " + std::string(root.ClassName()));
  reader.ReadRoot(header, root);
}

std::unique_ptr<TComponent> ReadRootComponent(std::string_view description, TComponent* owner) {
  return ReadRootComponent(description, owner, ReadOptions{});
}

std::unique_ptr<TComponent> ReadRootComponent(std::string_view description, TComponent* owner,
                                              const ReadOptions& options) {
  ReadContext ctx;
  Reader reader(description, ctx, options);
  ObjectHeader header = reader.ReadTopHeader();
  std::unique_ptr<TComponent> root;
  AtLine(header.line, [&] {
    RefuseClass(options, header, nullptr);
    root.reset(ClassRegistry::Instance().Create(header.className, owner));
  }, {header.className});
  reader.ReadRoot(header, *root);
  return root;
}

}  // namespace tarvela
