// The Designer form read with XmlLite, and a box layout of its widgets after its layouts'
// stretch factors, margins, spacing and minimum and maximum sizes.
#include "w32.h"

#include <fstream>
#include <objbase.h>
#include <shlwapi.h>
#include <sstream>
#include <xmllite.h>

namespace w32 {

int Node::number(const char *key, int fallback) const {
    auto found = props.find(key);
    return found == props.end() ? fallback : std::atoi(found->second.c_str());
}

std::string Node::text(const char *key, const std::string &fallback) const {
    auto found = props.find(key);
    return found == props.end() ? fallback : found->second;
}

namespace {

std::string narrow(const wchar_t *text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

std::string attribute(IXmlReader *reader, const wchar_t *name) {
    const wchar_t *value = nullptr;
    if (reader->MoveToAttributeByName(name, nullptr) != S_OK ||
        reader->GetValue(&value, nullptr) != S_OK)
        return std::string();
    std::string text = narrow(value);
    reader->MoveToElement();
    return text;
}

// Debian's mingw-w64 has XmlLite's header but no import library: the DLL is loaded by name.
IXmlReader *xmlReader() {
    using Create = HRESULT(WINAPI *)(REFIID, void **, IMalloc *);
    static const GUID readerId = {
        0x7279FC81, 0x709D, 0x4095, {0xB6, 0x3D, 0x69, 0xFE, 0x4B, 0x0D, 0x90, 0x30}};
    static HMODULE library = LoadLibraryW(L"xmllite.dll");
    auto create = library ? reinterpret_cast<Create>(reinterpret_cast<void *>(
                                GetProcAddress(library, "CreateXmlReader")))
                          : nullptr;
    void *reader = nullptr;
    return create && create(readerId, &reader, nullptr) == S_OK ? static_cast<IXmlReader *>(reader)
                                                                : nullptr;
}

bool parse(IXmlReader *reader, Node *root) {
    std::vector<Node *> open;      // the widgets, layouts and spacers being read
    std::vector<std::string> path; // every open element
    std::string property;
    size_t propertyDepth = 0;
    XmlNodeType type;
    while (reader->Read(&type) == S_OK) {
        const wchar_t *text = nullptr;
        if (type == XmlNodeType_Element) {
            reader->GetLocalName(&text, nullptr);
            const std::string name = narrow(text);
            const bool empty = reader->IsEmptyElement();
            if (name == "widget" || name == "layout" || name == "spacer") {
                Node *node = root;
                if (!open.empty()) {
                    open.back()->items.emplace_back();
                    node = &open.back()->items.back();
                } else if (name != "widget" || !root->cls.empty()) {
                    return false; // one root widget
                }
                node->cls = name == "spacer" ? name : attribute(reader, L"class");
                node->name = attribute(reader, L"name");
                std::stringstream stretch(attribute(reader, L"stretch"));
                for (std::string factor; std::getline(stretch, factor, ',');)
                    node->stretch.push_back(std::atoi(factor.c_str()));
                if (!empty)
                    open.push_back(node);
            } else if (name == "sizepolicy" && !open.empty()) { // its types are attributes
                open.back()->props["sizePolicy.hsizetype"] = attribute(reader, L"hsizetype");
                open.back()->props["sizePolicy.vsizetype"] = attribute(reader, L"vsizetype");
            } else if (name == "property") {
                property = attribute(reader, L"name");
                propertyDepth = path.size();
            }
            if (!empty)
                path.push_back(name);
        } else if (type == XmlNodeType_EndElement) {
            if (path.empty())
                return false;
            if (path.back() == "widget" || path.back() == "layout" || path.back() == "spacer")
                open.pop_back();
            else if (path.back() == "property")
                property.clear();
            path.pop_back();
        } else if (type == XmlNodeType_Text && !property.empty() && !open.empty() &&
                   reader->GetValue(&text, nullptr) == S_OK) {
            // <number>4</number> is the property itself; <size><width>..: "minimumSize.width".
            const std::string key =
                path.size() == propertyDepth + 2 ? property : property + "." + path.back();
            open.back()->props[key] = narrow(text);
        }
    }
    return !root->cls.empty() && open.empty();
}

struct Hint {
    int min[2], size[2], max[2];
    bool expand[2];
};

SIZE textSize(HDC dc, HFONT font, const std::string &text) {
    SelectObject(dc, font);
    SIZE size{0, 0};
    const std::wstring shown = wide(text.c_str());
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size;
}

bool expands(const Node &n, const char *key) {
    auto found = n.props.find(key);
    return found != n.props.end() && found->second == "Expanding";
}

Hint measure(const Node &n, HDC dc);

// A box: its items one after another along the main axis, side by side across.
Hint measureBox(const Node &n, HDC dc) {
    const int main = n.cls == "QHBoxLayout" ? 0 : 1;
    const int spacing = n.number("spacing", 6);
    const int margins[2] = {n.number("leftMargin") + n.number("rightMargin"),
                            n.number("topMargin") + n.number("bottomMargin")};
    Hint h{{margins[0], margins[1]}, {margins[0], margins[1]}, {1 << 24, 1 << 24}, {false, false}};
    int counted = 0;
    for (const Node &item : n.items) {
        if (item.cls == "CviTimer")
            continue; // never shown
        const Hint i = measure(item, dc);
        const int gap = counted++ ? spacing : 0;
        h.min[main] += i.min[main] + gap;
        h.size[main] += i.size[main] + gap;
        h.min[1 - main] = std::max(h.min[1 - main], i.min[1 - main] + margins[1 - main]);
        h.size[1 - main] = std::max(h.size[1 - main], i.size[1 - main] + margins[1 - main]);
        h.expand[0] |= i.expand[0];
        h.expand[1] |= i.expand[1];
    }
    return h;
}

Hint measure(const Node &n, HDC dc) {
    Hint h{{0, 0},
           {0, 0},
           {1 << 24, 1 << 24},
           {expands(n, "sizePolicy.hsizetype"), expands(n, "sizePolicy.vsizetype")}};
    if (n.isLayout()) {
        h = measureBox(n, dc);
    } else if (!n.items.empty()) {
        h = measureBox(n.items.front(), dc);
        h.expand[0] |= expands(n, "sizePolicy.hsizetype");
        h.expand[1] |= expands(n, "sizePolicy.vsizetype");
    } else if (n.cls == "spacer") {
        h.size[0] = n.number("sizeHint.width"), h.size[1] = n.number("sizeHint.height");
        h.expand[n.text("orientation") == "Qt::Vertical"] = true;
    } else if (n.cls == "QPushButton") {
        const SIZE text = textSize(dc, theme.bold, n.text("text"));
        h.min[0] = h.size[0] = text.cx + 22, h.min[1] = h.size[1] = text.cy + 14;
    } else if (n.cls == "QLabel") {
        const SIZE text =
            n.props.count("pixmap") ? SIZE{48, 48} : textSize(dc, theme.caption_, n.text("text"));
        h.min[0] = h.size[0] = text.cx, h.min[1] = h.size[1] = text.cy;
    } else if (n.cls == "QSpinBox" || n.cls == "QDoubleSpinBox" || n.cls == "QLineEdit") {
        h.min[1] = h.size[1] = textSize(dc, theme.display_, "0").cy + 8;
    }
    const char *const minimum[2] = {"minimumSize.width", "minimumSize.height"};
    const char *const maximum[2] = {"maximumSize.width", "maximumSize.height"};
    for (int axis = 0; axis < 2; ++axis) {
        h.min[axis] = std::max(h.min[axis], n.number(minimum[axis]));
        h.max[axis] = n.number(maximum[axis], h.max[axis]);
        h.size[axis] = std::min(std::max(h.size[axis], h.min[axis]), h.max[axis]);
    }
    return h;
}

void place(Node &n, HDC dc, RECT r, COLORREF backdrop);

// Hints first; the room left over goes by the stretch factors, or else to the expanding items;
// too little room takes from what each has above its minimum.
void placeBox(Node &n, HDC dc, RECT r, COLORREF backdrop) {
    const int main = n.cls == "QHBoxLayout" ? 0 : 1;
    r.left += n.number("leftMargin"), r.top += n.number("topMargin");
    r.right -= n.number("rightMargin"), r.bottom -= n.number("bottomMargin");
    const int spacing = n.number("spacing", 6);
    std::vector<Node *> items;
    std::vector<Hint> hints;
    std::vector<int> weights;
    int total = 0, room = static_cast<int>(main ? r.bottom - r.top : r.right - r.left);
    for (size_t i = 0; i < n.items.size(); ++i) {
        if (n.items[i].cls == "CviTimer")
            continue;
        items.push_back(&n.items[i]);
        hints.push_back(measure(n.items[i], dc));
        weights.push_back(i < n.stretch.size() ? n.stretch[i] : 0);
        total += hints.back().size[main];
    }
    room -= spacing * (static_cast<int>(items.size()) - 1);
    int weightSum = 0;
    for (int w : weights)
        weightSum += w;
    if (!weightSum)
        for (size_t i = 0; i < items.size(); ++i)
            weightSum += weights[i] = hints[i].expand[main];
    int slack = 0;
    for (const Hint &h : hints)
        slack += h.size[main] - h.min[main];
    int at = main ? r.top : r.left;
    for (size_t i = 0; i < items.size(); ++i) {
        const Hint &h = hints[i];
        int length = h.size[main];
        if (room >= total && weightSum)
            length +=
                static_cast<int>(static_cast<long long>(room - total) * weights[i] / weightSum);
        else if (room < total && slack)
            length -= static_cast<int>(static_cast<long long>(total - room) *
                                       (h.size[main] - h.min[main]) / slack);
        length = std::max(0, std::min(length, h.max[main]));
        const int across =
            std::min<int>(main ? r.right - r.left : r.bottom - r.top, h.max[1 - main]);
        const RECT cell = main ? RECT{r.left, at, r.left + across, at + length}
                               : RECT{at, r.top, at + length, r.top + across};
        place(*items[i], dc, cell, backdrop);
        at += length + spacing;
    }
}

void place(Node &n, HDC dc, RECT r, COLORREF backdrop) {
    n.rect = r;
    n.backdrop = backdrop;
    if (n.cls == "QFrame")
        backdrop = theme.card;
    if (n.isLayout())
        placeBox(n, dc, r, backdrop);
    else if (!n.items.empty())
        place(n.items.front(), dc, r, backdrop);
}

} // namespace

std::wstring wide(const char *utf8) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(size > 0 ? size - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), size);
    return out;
}

bool readForm(const char *fileName, Node *root) {
    std::ifstream file(fileName, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const std::string data = bytes.str();
    if (!file || data.empty())
        return false;
    IStream *stream = SHCreateMemStream(reinterpret_cast<const BYTE *>(data.data()),
                                        static_cast<UINT>(data.size()));
    IXmlReader *reader = stream ? xmlReader() : nullptr;
    const bool read = reader && reader->SetInput(stream) == S_OK && parse(reader, root);
    if (reader)
        reader->Release();
    if (stream)
        stream->Release();
    return read;
}

void layout(Node *root, HDC dc, int width, int height) {
    place(*root, dc, RECT{0, 0, width, height}, theme.panel);
}

} // namespace w32
