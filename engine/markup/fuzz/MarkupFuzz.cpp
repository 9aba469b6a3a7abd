// libFuzzer target: any bytes as a UTF-8 skin file. A successful parse is walked completely
// (names, texts, every attribute and a lookup by name), as the skin builder would.
#include "markup/XmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <cwchar>

using namespace Lomar;

namespace {

size_t walk(CXmlNode node, int depth)
{
    size_t total = 0;
    for (; node.is_valid(); node = node.next_sibling())
    {
        total += std::wcslen(node.name()) + std::wcslen(node.value());
        for (int i = 0; i < node.attribute_count(); ++i)
            total += std::wcslen(node.attribute_name(i)) + std::wcslen(node.attribute_value(i));
        wchar_t buffer[16];
        if (node.attribute_value(L"name", buffer, 16))
            total += std::wcslen(buffer);
        if (depth < CXmlDocument::kMaxDepth + 2)
            total += walk(node.first_child(), depth + 1);
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > CXmlDocument::kMaxFileSize)
        return 0;
    CXmlDocument doc;
    if (doc.load_from_memory(data, static_cast<uint32_t>(size)))
        walk(doc.root(), 0);
    return 0;
}
