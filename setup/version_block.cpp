#include "version_block.h"

namespace {

constexpr uint32_t FixedInfoSignature = 0xFEEF04BD;
constexpr size_t FixedInfoSize = 52;
constexpr size_t NodeHeaderSize = 6;  // wLength, wValueLength, wType

uint16_t Word(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Dword(const uint8_t* p)
{
    return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16;
}

size_t Align4(size_t offset)
{
    return (offset + 3) & ~size_t(3);
}

// One node of the block: a key, a value and children, each start aligned to 4 bytes from the
// block's start (the block itself starts aligned).
struct Node {
    std::wstring key;
    size_t valueStart;  // offsets from the block's start
    size_t valueLength;  // bytes as declared (text values are read up to their NUL instead)
    size_t childrenStart;
    size_t end;
};

bool ReadNode(const uint8_t* block, size_t start, size_t limit, Node& node)
{
    node = Node{};
    if (start + NodeHeaderSize > limit) return false;
    const size_t length = Word(block + start);
    // A node holds at least its header and lies within its parent.
    if (length < NodeHeaderSize || start + length > limit) return false;
    node.end = start + length;
    const bool isText = Word(block + start + 4) == 1;
    size_t at = start + NodeHeaderSize;
    for (; at + 2 <= node.end && Word(block + at) != 0; at += 2) node.key += Word(block + at);
    if (at + 2 > node.end) return false;  // the key's NUL is missing
    node.valueStart = Align4(at + 2);
    node.valueLength = Word(block + start + 2) * (isText ? 2 : 1);
    if (node.valueStart > node.end) node.valueStart = node.end;
    if (node.valueStart + node.valueLength > node.end) return false;
    node.childrenStart = Align4(node.valueStart + node.valueLength);
    return true;
}

// Text up to its NUL or the node's end.
std::wstring TextValue(const uint8_t* block, const Node& node)
{
    std::wstring text;
    for (size_t at = node.valueStart; at + 2 <= node.end && Word(block + at) != 0; at += 2) {
        text += Word(block + at);
    }
    return text;
}

// The children of `parent` in order; false when one is malformed.
template <typename Visit>
bool ForEachChild(const uint8_t* block, const Node& parent, Visit visit)
{
    for (size_t at = parent.childrenStart; at < parent.end;) {
        Node child;
        if (!ReadNode(block, at, parent.end, child)) return false;
        visit(child);
        at = Align4(child.end);
    }
    return true;
}

void ReadStrings(const uint8_t* block, const Node& table, VersionBlock& info)
{
    ForEachChild(block, table, [&](const Node& entry) {
        if (entry.key == L"ProductName") info.productName = TextValue(block, entry);
        if (entry.key == L"OriginalFilename") info.originalFilename = TextValue(block, entry);
    });
}

}  // namespace

bool ReadVersionBlock(const uint8_t* block, size_t size, VersionBlock& info)
{
    info = VersionBlock{};
    Node root;
    if (!ReadNode(block, 0, size, root) || root.key != L"VS_VERSION_INFO") return false;
    // The fixed part is what identifies the block as a version resource.
    if (root.valueLength < FixedInfoSize || Dword(block + root.valueStart) != FixedInfoSignature) {
        return false;
    }
    const uint8_t* fixed = block + root.valueStart;
    const uint32_t high = Dword(fixed + 8), low = Dword(fixed + 12);
    info.fileVersion = FileVersion{{static_cast<uint16_t>(high >> 16), static_cast<uint16_t>(high),
                                    static_cast<uint16_t>(low >> 16), static_cast<uint16_t>(low)}};
    bool tableRead = false;
    return ForEachChild(block, root, [&](const Node& child) {
        if (child.key != L"StringFileInfo") return;
        ForEachChild(block, child, [&](const Node& table) {
            if (!tableRead) ReadStrings(block, table, info);
            tableRead = true;
        });
    });
}
