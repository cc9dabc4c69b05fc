#include <libxml/xmlreader.h>
#include <libxml/xmlwriter.h>

#include <string>

#include "platform/xml.h"

namespace platform {

namespace {

std::string Text(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }

// libxml2 prints its complaints by default; the caller's message says it instead.
void KeepError(void* arg, const char* message, xmlParserSeverities severity, xmlTextReaderLocatorPtr) {
    auto* error = static_cast<std::string*>(arg);
    if (severity == XML_PARSER_SEVERITY_ERROR && error->empty()) {
        *error = message;
        while (!error->empty() && (error->back() == '\n' || error->back() == ' ')) error->pop_back();
    }
}

}  // namespace

bool ReadXml(std::string_view document, const std::function<void(const XmlNode&)>& visit, std::string& error) {
    error.clear();
    xmlTextReaderPtr reader =
        xmlReaderForMemory(document.data(), static_cast<int>(document.size()), nullptr, nullptr, XML_PARSE_NONET);
    if (!reader) {
        error = "the XML reader cannot start";
        return false;
    }
    std::string message;
    xmlTextReaderSetErrorHandler(reader, KeepError, &message);
    int status;
    while ((status = xmlTextReaderRead(reader)) == 1) {
        XmlNode node{};
        const xmlNodePtr current = xmlTextReaderCurrentNode(reader);
        node.line = current ? static_cast<int>(xmlGetLineNo(current)) : 0;
        switch (xmlTextReaderNodeType(reader)) {
            case XML_READER_TYPE_ELEMENT: {
                node.kind = XmlNode::Kind::Start;
                node.name = Text(xmlTextReaderConstLocalName(reader));
                const bool empty = xmlTextReaderIsEmptyElement(reader) == 1;
                while (xmlTextReaderMoveToNextAttribute(reader) == 1)
                    node.attributes.emplace_back(Text(xmlTextReaderConstLocalName(reader)),
                                                 Text(xmlTextReaderConstValue(reader)));
                xmlTextReaderMoveToElement(reader);
                visit(node);
                if (empty) {
                    node.kind = XmlNode::Kind::End;
                    node.attributes.clear();
                    visit(node);
                }
                break;
            }
            case XML_READER_TYPE_END_ELEMENT:
                node.kind = XmlNode::Kind::End;
                node.name = Text(xmlTextReaderConstLocalName(reader));
                visit(node);
                break;
            case XML_READER_TYPE_TEXT:
            case XML_READER_TYPE_CDATA:
                node.kind = XmlNode::Kind::Text;
                node.text = Text(xmlTextReaderConstValue(reader));
                visit(node);
                break;
            default:
                break;
        }
    }
    const int line = xmlTextReaderGetParserLineNumber(reader);
    xmlFreeTextReader(reader);
    if (status != 0) {
        error = "line " + std::to_string(line) + ": " + (message.empty() ? "the XML is not well formed" : message);
        return false;
    }
    return true;
}

struct XmlWriter::State {
    xmlBufferPtr buffer = nullptr;
    xmlTextWriterPtr writer = nullptr;
    bool failed = false;
    void Check(int result) { failed = failed || result < 0; }
};

namespace {
const xmlChar* X(const std::string& text) { return reinterpret_cast<const xmlChar*>(text.c_str()); }
}  // namespace

XmlWriter::XmlWriter() : state_(new State) {
    state_->buffer = xmlBufferCreate();
    state_->writer = state_->buffer ? xmlNewTextWriterMemory(state_->buffer, 0) : nullptr;
    if (!state_->writer) {
        state_->failed = true;
        return;
    }
    state_->Check(xmlTextWriterSetIndent(state_->writer, 1));
    state_->Check(xmlTextWriterSetIndentString(state_->writer, reinterpret_cast<const xmlChar*>("  ")));
    state_->Check(xmlTextWriterStartDocument(state_->writer, nullptr, "UTF-8", nullptr));
}

XmlWriter::~XmlWriter() {
    if (state_->writer) xmlFreeTextWriter(state_->writer);
    if (state_->buffer) xmlBufferFree(state_->buffer);
    delete state_;
}

void XmlWriter::DocType(const std::string& name, const std::string& publicId, const std::string& systemId) {
    if (state_->writer)
        state_->Check(xmlTextWriterWriteDTD(state_->writer, X(name), X(publicId), X(systemId), nullptr));
}

void XmlWriter::Start(const std::string& name) {
    if (state_->writer) state_->Check(xmlTextWriterStartElement(state_->writer, X(name)));
}

void XmlWriter::Attribute(const std::string& name, const std::string& value) {
    if (state_->writer) state_->Check(xmlTextWriterWriteAttribute(state_->writer, X(name), X(value)));
}

void XmlWriter::Text(const std::string& text) {
    if (state_->writer) state_->Check(xmlTextWriterWriteString(state_->writer, X(text)));
}

void XmlWriter::End() {
    if (state_->writer) state_->Check(xmlTextWriterEndElement(state_->writer));
}

bool XmlWriter::Finish(std::string& document, std::string& error) {
    if (state_->writer) {
        state_->Check(xmlTextWriterEndDocument(state_->writer));
        xmlFreeTextWriter(state_->writer);  // flushes into the buffer
        state_->writer = nullptr;
    }
    if (state_->failed || !state_->buffer) {
        error = "the XML could not be written";
        return false;
    }
    document.assign(reinterpret_cast<const char*>(xmlBufferContent(state_->buffer)),
                    static_cast<std::size_t>(xmlBufferLength(state_->buffer)));
    return true;
}

}  // namespace platform
