// CXmlDocument: the skin engine's small destructive XML parser. The whole file becomes one
// UTF-16 buffer; parsing writes terminators into it and records elements as offsets.
// Whitespace in text and attribute values is always kept as written.
// CXmlNode is the value handle through which the builder and the catalog walk the tree.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Lomar {

class CXmlDocument;

enum XmlEncoding
{
    XML_ENCODING_UTF8 = 0,   // the only encoding skins use
};

class CXmlNode
{
public:
    enum { kMaxAttributes = 64 };   // attributes beyond this many are ignored

    CXmlNode() = default;

    bool is_valid() const { return m_document != nullptr; }
    const wchar_t* name() const;
    const wchar_t* value() const;   // the text before the first child
    CXmlNode first_child() const;
    CXmlNode next_sibling() const;
    bool has_children() const;

    bool has_attributes() const;
    int attribute_count() const;
    const wchar_t* attribute_name(int index) const;
    const wchar_t* attribute_value(int index) const;
    // Case-insensitive (ASCII letters, as _wcsicmp in the "C" locale); copies at most
    // capacity - 1 characters and a terminator.
    bool attribute_value(const wchar_t* name, wchar_t* buffer, int capacity) const;

private:
    friend class CXmlDocument;
    CXmlNode(CXmlDocument* document, int element) : m_document(document), m_element(element) {}
    void map_attributes() const;

    CXmlDocument* m_document = nullptr;   // null for an invalid node
    int m_element = 0;                    // record index in the document
    mutable int m_attribute_count = 0;    // 0 until the attributes are first asked for
    mutable struct
    {
        int name;                         // offsets into the document's text
        int value;
    } m_attributes[kMaxAttributes] = {};
};

class CXmlDocument
{
public:
    enum { kMaxFileSize = 4194304 };   // skin files above 4 MiB are refused
    enum { kMaxDepth = 1000 };         // deeper nesting fails instead of exhausting the stack

    explicit CXmlDocument(const wchar_t* text = nullptr);
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    bool load(const wchar_t* text);
    bool load_from_memory(const unsigned char* bytes, uint32_t count, XmlEncoding encoding = XML_ENCODING_UTF8);
    // Reads the file from the active resource source: the skin folder or the skin archive.
    bool load_from_file(const wchar_t* file_name, XmlEncoding encoding = XML_ENCODING_UTF8);
    void release();

    CXmlNode root();

    const wchar_t* error_message() const { return m_error; }
    const wchar_t* error_location() const { return m_error_location; }

private:
    friend class CXmlNode;

    // One element; offsets count UTF-16 characters from the start of the text, 0 = none.
    struct Element
    {
        int name;            // element name, NUL-terminated after parsing
        int first_child;     // record index
        int next_sibling;    // record index
        int parent;          // record index, 0 at top level
        int value;           // text content
    };

    bool take_text(wchar_t* text, size_t length);   // owns `text` from here on
    bool parse();
    bool parse_elements(wchar_t*& p, int parent, int depth);
    bool parse_attributes(wchar_t*& p);
    wchar_t* copy_text(wchar_t* p, wchar_t terminator, wchar_t** end);
    int add_element();
    bool fail(const wchar_t* message, const wchar_t* where);
    void clear_error();

    wchar_t* m_text = nullptr;           // the document, NUL-terminated
    Element* m_elements = nullptr;       // record 0 is a placeholder
    int m_count = 0;
    int m_capacity = 0;
    wchar_t m_error[100] = {};
    wchar_t m_error_location[50] = {};
};

} // namespace Lomar
