// Reading and writing XML with the system's own parser: XmlLite on Windows (looked up at
// run time), libxml2 elsewhere.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

struct XmlNode {
    enum class Kind { Start, End, Text };
    Kind kind;
    std::string name;                                             // the element's local name (Start and End)
    std::string text;                                             // the text, character data and CDATA alike (Text)
    std::vector<std::pair<std::string, std::string>> attributes;  // (Start)
    int line = 0;
};

// Visits the document's elements and text in order, UTF-8 throughout; an empty element
// gives a Start and an End. False with a message naming the line when the document is not
// well formed or the reader is missing; the DTD is neither fetched nor applied.
bool ReadXml(std::string_view document, const std::function<void(const XmlNode&)>& visit, std::string& error);

// Builds an indented UTF-8 document, declaration first.
class XmlWriter {
public:
    XmlWriter();
    ~XmlWriter();
    XmlWriter(const XmlWriter&) = delete;
    XmlWriter& operator=(const XmlWriter&) = delete;

    void DocType(const std::string& name, const std::string& publicId, const std::string& systemId);
    void Start(const std::string& name);
    void Attribute(const std::string& name, const std::string& value);
    void Text(const std::string& text);
    void End();
    // The whole document; false when the writer is missing or any step failed.
    bool Finish(std::string& document, std::string& error);

private:
    struct State;
    State* state_;
};

}  // namespace platform
