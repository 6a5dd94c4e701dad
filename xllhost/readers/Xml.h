// One XML part of a workbook read as it streams in, through libexpat: the
// reader is told of each element's start with its attributes, of its text
// and of its end. Names are compared without their namespace prefix
// ("x:c" is "c"), as workbooks of other programs may prefix them. A part
// with a document type declaration is refused: no workbook part has one,
// and it is where entity expansion (a "billion laughs") would hide.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace xllhost {

class XmlReader {
 public:
  virtual ~XmlReader() = default;
  // `attributes` alternates names and values and ends with null.
  virtual void Start(std::string_view name, const char** attributes) = 0;
  virtual void Text(std::string_view) {}
  virtual void End(std::string_view) {}
};

// The value of an attribute, without its prefix (r:id is "id"); null when
// the element has none of the name.
const char* Attribute(const char** attributes, std::string_view name);

// Feeds a part to a reader in pieces. On failure answers false and says why,
// with the line and column.
class XmlStream {
 public:
  explicit XmlStream(XmlReader& reader);
  ~XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;

  bool Feed(const char* bytes, std::size_t size, std::string* why);
  bool Finish(std::string* why);

 private:
  bool Said(int status, std::string* why);
  struct Parser;
  Parser* parser_;
};

}  // namespace xllhost
