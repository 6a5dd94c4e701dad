#include "readers/Xml.h"

#include <expat.h>

#include <cstring>

namespace xllhost {
namespace {

std::string_view Local(const char* name) {
  const char* local = name;
  const char* at = name;
  for (; *at != '\0'; ++at)
    if (*at == ':') local = at + 1;
  return std::string_view(local, static_cast<std::size_t>(at - local));
}

}  // namespace

struct XmlStream::Parser {
  XML_Parser expat;
  XmlReader& reader;
  bool doctype = false;
};

const char* Attribute(const char** attributes, std::string_view name) {
  for (; *attributes != nullptr; attributes += 2)
    if (Local(attributes[0]) == name) return attributes[1];
  return nullptr;
}

XmlStream::XmlStream(XmlReader& reader) : parser_(new Parser{XML_ParserCreate(nullptr), reader}) {
  XML_SetUserData(parser_->expat, parser_);
  XML_SetElementHandler(
      parser_->expat,
      [](void* data, const XML_Char* name, const XML_Char** attributes) {
        static_cast<Parser*>(data)->reader.Start(Local(name), attributes);
      },
      [](void* data, const XML_Char* name) { static_cast<Parser*>(data)->reader.End(Local(name)); });
  XML_SetCharacterDataHandler(parser_->expat, [](void* data, const XML_Char* text, int length) {
    static_cast<Parser*>(data)->reader.Text(std::string_view(text, static_cast<std::size_t>(length)));
  });
  XML_SetStartDoctypeDeclHandler(parser_->expat,
                                 [](void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
                                   auto* parser = static_cast<Parser*>(data);
                                   parser->doctype = true;
                                   XML_StopParser(parser->expat, XML_FALSE);
                                 });
}

XmlStream::~XmlStream() {
  XML_ParserFree(parser_->expat);
  delete parser_;
}

bool XmlStream::Said(int status, std::string* why) {
  if (parser_->doctype) return *why = "it has a document type declaration, which no workbook part has", false;
  if (status != XML_STATUS_ERROR) return true;
  *why = std::string(XML_ErrorString(XML_GetErrorCode(parser_->expat))) + " at line " +
         std::to_string(XML_GetCurrentLineNumber(parser_->expat)) + ", column " +
         std::to_string(XML_GetCurrentColumnNumber(parser_->expat) + 1);
  return false;
}

bool XmlStream::Feed(const char* bytes, std::size_t size, std::string* why) {
  return Said(XML_Parse(parser_->expat, bytes, static_cast<int>(size), XML_FALSE), why);
}

bool XmlStream::Finish(std::string* why) { return Said(XML_Parse(parser_->expat, nullptr, 0, XML_TRUE), why); }

}  // namespace xllhost
