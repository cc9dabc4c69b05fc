#include <objidl.h>
#include <windows.h>
#include <xmllite.h>

#include <algorithm>
#include <new>
#include <string>

#include "platform/text_convert.h"
#include "platform/xml.h"

namespace platform {

namespace {

// What the reader's failure means, in words a user can act on; the code only for the rare
// ones.
std::string XmlProblem(HRESULT hr, std::string_view document) {
    static const struct {
        unsigned long code;  // as the header gives them, an HRESULT's bits
        const char* text;
    } kProblems[] = {
        {MX_E_INPUTEND, "the file ends before its elements are closed"},
        {MX_E_ENCODING, "a character does not fit the file's encoding"},
        {MX_E_ENCODINGSWITCH, "the file's encoding cannot be switched to the one it declares"},
        {MX_E_ENCODINGSIGNATURE, "the byte-order mark does not match the encoding the file declares"},
        {WC_E_WHITESPACE, "a blank is missing"},
        {WC_E_SEMICOLON, "an entity or character reference is not ended by \";\""},
        {WC_E_GREATERTHAN, "a \">\" is missing"},
        {WC_E_QUOTE, "an attribute's value is not in quotes"},
        {WC_E_EQUAL, "an \"=\" is missing after an attribute's name"},
        {WC_E_LESSTHAN, "a \"<\" stands in an attribute's value"},
        {WC_E_HEXDIGIT, "a character reference holds a wrong digit"},
        {WC_E_DIGIT, "a character reference holds a wrong digit"},
        {WC_E_XMLCHARACTER, "the file holds a character that XML does not allow"},
        {WC_E_NAMECHARACTER, "a name holds a character that names cannot have"},
        {WC_E_SYNTAX, "something stands where XML allows nothing, such as a second root element"},
        {WC_E_CDSECT, "a CDATA section is damaged"},
        {WC_E_CDSECTEND, "\"]]>\" stands outside a CDATA section"},
        {WC_E_COMMENT, "a comment is damaged"},
        {WC_E_DECLDOCTYPE, "the DOCTYPE declaration is damaged"},
        {WC_E_ROOTELEMENT, "the file has no root element"},
        {WC_E_ELEMENTMATCH, "an end tag does not match its start tag"},
        {WC_E_UNIQUEATTRIBUTE, "an element has the same attribute twice"},
        {WC_E_XMLDECL, "the XML declaration is damaged"},
        {WC_E_LEADINGXML, "the XML declaration is not at the very start of the file"},
        {WC_E_ENCNAME, "the encoding the file declares is not known"},
        {WC_E_UNDECLAREDENTITY, "an entity is used that the file does not declare (such as &nbsp;)"},
        {WC_E_DTDPROHIBITED, "the file has a DTD, which this reader refuses"},
        {WC_E_MOREDATA, "text follows the root element"},
        {NC_E_UNDECLAREDPREFIX, "a namespace prefix is used that the file does not declare"},
        {SC_E_MAXELEMENTDEPTH, "the elements are nested too deep"},
        {SC_E_MAXENTITYEXPANSION, "the file's entities expand to too much text"},
        {static_cast<unsigned long>(E_OUTOFMEMORY), "there is not enough memory to read the file"},
    };
    for (const auto& p : kProblems)
        if (p.code == static_cast<unsigned long>(hr)) return p.text;
    if (hr == E_NOTIMPL) {
        // Wine's reader stops at an internal subset (<!DOCTYPE kvtml [ ... ]>).
        const std::size_t doctype = document.find("<!DOCTYPE");
        const std::size_t bracket = document.find_first_of("[>", doctype);
        if (doctype != std::string_view::npos && bracket != std::string_view::npos && document[bracket] == '[')
            return "the file has an internal DTD, which this reader refuses";
        return "the file uses a part of XML that this reader cannot read";
    }
    char code[16];
    wsprintfA(code, "%08lX", static_cast<unsigned long>(hr));
    return std::string("the XML is not well formed (error ") + code + ")";
}

using CreateReaderFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
using CreateWriterFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

// XmlLite comes with every Windows since Vista; looked up at run time so the program still
// starts where it is missing, and says so when XML is asked of it.
template <typename Function>
Function XmlLiteFunction(const char* name) {
    static HMODULE module = LoadLibraryW(L"xmllite.dll");
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

std::wstring Wide(const std::string& text) {
    std::wstring wide;
    ToWide(text, CP_UTF8, Conversion::Lenient, wide);
    return wide;
}

std::string Utf8(const wchar_t* text, UINT length) {
    std::string narrow;
    if (text) FromWide(std::wstring_view(text, length), CP_UTF8, Conversion::Lenient, narrow);
    return narrow;
}

template <typename T>
void Release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

std::string LocalName(IXmlReader* reader) {
    const wchar_t* name = nullptr;
    UINT length = 0;
    return SUCCEEDED(reader->GetLocalName(&name, &length)) ? Utf8(name, length) : std::string();
}

std::string Value(IXmlReader* reader) {
    const wchar_t* value = nullptr;
    UINT length = 0;
    return SUCCEEDED(reader->GetValue(&value, &length)) ? Utf8(value, length) : std::string();
}

// A stream over the document's bytes whose reads end on ASCII where they can. Wine's
// XmlLite converts each read to UTF-16 but for a last byte that is not ASCII, which it
// keeps back, and it mangles both the character that byte ends and the one it begins. Any
// reader takes short reads. A UTF-16 document is read as it comes: a unit must not be cut.
class CharacterStream : public ISequentialStream {
public:
    explicit CharacterStream(std::string_view bytes)
        : bytes_(bytes),
          utf8_(bytes.size() < 2 || (bytes[0] != '\0' && bytes[1] != '\0' && bytes.compare(0, 2, "\xFF\xFE") != 0 &&
                                     bytes.compare(0, 2, "\xFE\xFF") != 0)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid != __uuidof(IUnknown) && iid != __uuidof(ISequentialStream)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<ISequentialStream*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
        std::size_t n = std::min<std::size_t>(size, bytes_.size() - at_);
        if (utf8_ && at_ + n < bytes_.size()) {
            std::size_t cut = n;
            while (cut > 0 && static_cast<unsigned char>(bytes_[at_ + cut - 1]) >= 0x80) --cut;
            if (cut > 0) n = cut;  // else a whole read without ASCII: no cut helps
        }
        memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        if (read) *read = static_cast<ULONG>(n);
        return S_OK;  // as a memory stream answers, also at its end
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }

private:
    virtual ~CharacterStream() = default;

    std::string_view bytes_;
    std::size_t at_ = 0;
    bool utf8_;
    LONG references_ = 1;
};

}  // namespace

bool ReadXml(std::string_view document, const std::function<void(const XmlNode&)>& visit, std::string& error) {
    error.clear();
    const auto create = XmlLiteFunction<CreateReaderFn>("CreateXmlReader");
    IXmlReader* reader = nullptr;
    if (!create || FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr))) {
        error = "this Windows has no XML reader (xmllite.dll)";
        return false;
    }
    ISequentialStream* stream = new (std::nothrow) CharacterStream(document);
    // A DOCTYPE is allowed and skipped; nothing is fetched from outside.
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Parse);
    reader->SetProperty(XmlReaderProperty_XmlResolver, 0);
    HRESULT hr = stream ? reader->SetInput(stream) : E_OUTOFMEMORY;
    XmlNodeType type;
    while (SUCCEEDED(hr) && (hr = reader->Read(&type)) == S_OK) {
        XmlNode node{};
        UINT line = 0;
        reader->GetLineNumber(&line);
        node.line = static_cast<int>(line);
        if (type == XmlNodeType_Element) {
            node.kind = XmlNode::Kind::Start;
            node.name = LocalName(reader);
            const bool empty = reader->IsEmptyElement();
            for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK; more = reader->MoveToNextAttribute())
                node.attributes.emplace_back(LocalName(reader), Value(reader));
            reader->MoveToElement();
            visit(node);
            if (empty) {
                node.kind = XmlNode::Kind::End;
                node.attributes.clear();
                visit(node);
            }
        } else if (type == XmlNodeType_EndElement) {
            node.kind = XmlNode::Kind::End;
            node.name = LocalName(reader);
            visit(node);
        } else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA) {
            node.kind = XmlNode::Kind::Text;
            node.text = Value(reader);
            visit(node);
        }
    }
    if (FAILED(hr)) {
        UINT line = 0;
        reader->GetLineNumber(&line);
        error = "line " + std::to_string(line) + ": " + XmlProblem(hr, document);
    }
    Release(reader);
    Release(stream);
    return SUCCEEDED(hr);
}

struct XmlWriter::State {
    IXmlWriter* writer = nullptr;
    IStream* stream = nullptr;
    bool failed = false;
    void Check(HRESULT hr) { failed = failed || FAILED(hr); }
};

XmlWriter::XmlWriter() : state_(new State) {
    const auto create = XmlLiteFunction<CreateWriterFn>("CreateXmlWriter");
    if (!create || FAILED(create(__uuidof(IXmlWriter), reinterpret_cast<void**>(&state_->writer), nullptr)) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &state_->stream))) {
        state_->failed = true;
        return;
    }
    state_->Check(state_->writer->SetProperty(XmlWriterProperty_Indent, TRUE));
    state_->Check(state_->writer->SetOutput(state_->stream));
    state_->Check(state_->writer->WriteStartDocument(XmlStandalone_Omit));
}

XmlWriter::~XmlWriter() {
    Release(state_->writer);
    Release(state_->stream);
    delete state_;
}

void XmlWriter::DocType(const std::string& name, const std::string& publicId, const std::string& systemId) {
    if (state_->failed) return;
    state_->Check(
        state_->writer->WriteDocType(Wide(name).c_str(), Wide(publicId).c_str(), Wide(systemId).c_str(), nullptr));
}

void XmlWriter::Start(const std::string& name) {
    if (!state_->failed) state_->Check(state_->writer->WriteStartElement(nullptr, Wide(name).c_str(), nullptr));
}

void XmlWriter::Attribute(const std::string& name, const std::string& value) {
    if (!state_->failed)
        state_->Check(state_->writer->WriteAttributeString(nullptr, Wide(name).c_str(), nullptr, Wide(value).c_str()));
}

void XmlWriter::Text(const std::string& text) {
    if (!state_->failed) state_->Check(state_->writer->WriteString(Wide(text).c_str()));
}

void XmlWriter::End() {
    if (!state_->failed) state_->Check(state_->writer->WriteEndElement());
}

bool XmlWriter::Finish(std::string& document, std::string& error) {
    if (!state_->failed) {
        state_->Check(state_->writer->WriteEndDocument());
        state_->Check(state_->writer->Flush());
    }
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (state_->failed || FAILED(GetHGlobalFromStream(state_->stream, &memory)) ||
        FAILED(state_->stream->Stat(&stat, STATFLAG_NONAME))) {
        error = state_->writer ? "the XML could not be written" : "this Windows has no XML writer (xmllite.dll)";
        return false;
    }
    const char* bytes = static_cast<const char*>(GlobalLock(memory));
    document.assign(bytes ? bytes : "", bytes ? static_cast<std::size_t>(stat.cbSize.QuadPart) : 0);
    GlobalUnlock(memory);
    // The writer starts UTF-8 output with a byte-order mark, which XML does not need.
    if (document.compare(0, 3, "\xEF\xBB\xBF") == 0) document.erase(0, 3);
    return true;
}

}  // namespace platform
