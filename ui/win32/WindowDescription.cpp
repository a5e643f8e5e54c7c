#include "WindowDescription.h"

#include "EReadError.h"
#include "Utf.h"

#include <windows.h>

#include <shlwapi.h>
#include <xmllite.h>

#include <cwchar>
#include <memory>

namespace {

// The element tree of the XML text, enough to interpret a description.
struct XmlElement
{
    std::wstring name;
    std::wstring nameAttribute;
    std::wstring classAttribute;
    std::wstring text;
    std::vector<XmlElement> children;

    const XmlElement *Child(std::wstring_view childName) const
    {
        for (const XmlElement &child : children)
            if (child.name == childName)
                return &child;
        return nullptr;
    }
};

template <class Interface> struct ComRelease
{
    void operator()(Interface *object) const { object->Release(); }
};
template <class Interface> using ComPtr = std::unique_ptr<Interface, ComRelease<Interface>>;

[[noreturn]] void Fail(const std::string &what)
{
    throw EReadError("ウィンドウの記述を読めません: " + what);
}

// XmlLite comes with every Windows since Vista. It is loaded from the system
// folder only, so that no file of the same name beside the program is taken.
ComPtr<IXmlReader> CreateReader()
{
    HMODULE library = LoadLibraryExW(L"xmllite.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library)
        Fail("xmllite.dll を読み込めません");
    using CreateXmlReaderFunction = HRESULT(WINAPI *)(REFIID, void **, IMalloc *);
    const auto create = reinterpret_cast<CreateXmlReaderFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "CreateXmlReader")));
    IXmlReader *reader = nullptr;
    if (!create ||
        FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void **>(&reader), nullptr)))
        Fail("XML リーダーを作れません");
    return ComPtr<IXmlReader>(reader);
}

std::wstring Value(IXmlReader &reader,
                   HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(LPCWSTR *, UINT *))
{
    LPCWSTR value = nullptr;
    UINT length = 0;
    if (FAILED((reader.*get)(&value, &length)) || !value)
        return {};
    return std::wstring(value, length);
}

XmlElement ReadTree(std::string_view xml)
{
    ComPtr<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE *>(xml.data()),
                                             static_cast<UINT>(xml.size())));
    if (!stream)
        Fail("メモリーが足りません");
    ComPtr<IXmlReader> reader = CreateReader();
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    if (FAILED(reader->SetInput(stream.get())))
        Fail("XML リーダーに渡せません");

    XmlElement document;
    std::vector<XmlElement *> open{&document};
    XmlNodeType type;
    HRESULT result;
    while ((result = reader->Read(&type)) == S_OK) {
        switch (type) {
        case XmlNodeType_Element: {
            XmlElement element;
            element.name = Value(*reader, &IXmlReader::GetLocalName);
            const bool empty = reader->IsEmptyElement();
            for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK;
                 more = reader->MoveToNextAttribute()) {
                const std::wstring attribute = Value(*reader, &IXmlReader::GetLocalName);
                if (attribute == L"name")
                    element.nameAttribute = Value(*reader, &IXmlReader::GetValue);
                else if (attribute == L"class")
                    element.classAttribute = Value(*reader, &IXmlReader::GetValue);
            }
            open.back()->children.push_back(std::move(element));
            if (!empty)
                open.push_back(&open.back()->children.back());
            break;
        }
        case XmlNodeType_EndElement:
            if (open.size() < 2)
                Fail("要素の始まりと終わりが合いません");
            open.pop_back();
            break;
        case XmlNodeType_Text:
        case XmlNodeType_CDATA:
            open.back()->text += Value(*reader, &IXmlReader::GetValue);
            break;
        default:
            break;
        }
    }
    if (FAILED(result) || open.size() != 1)
        Fail("XML の形式が正しくありません");
    const XmlElement *ui = document.Child(L"ui");
    if (!ui)
        Fail("<ui> 要素がありません");
    return *ui;
}

int Number(const XmlElement *element, const char *what)
{
    wchar_t *end = nullptr;
    const long value = element ? std::wcstol(element->text.c_str(), &end, 10) : 0;
    if (!element || element->text.empty() || *end != L'\0')
        Fail(std::string(what) + " が数値ではありません");
    return static_cast<int>(value);
}

const XmlElement *Property(const XmlElement &widget, std::wstring_view name)
{
    for (const XmlElement &child : widget.children)
        if (child.name == L"property" && child.nameAttribute == name)
            return &child;
    return nullptr;
}

std::wstring StringProperty(const XmlElement &widget, std::wstring_view name)
{
    const XmlElement *property = Property(widget, name);
    const XmlElement *value = property ? property->Child(L"string") : nullptr;
    return value ? value->text : std::wstring();
}

void ReadGeometry(const XmlElement &widget, int &left, int &top, int &width, int &height)
{
    const XmlElement *property = Property(widget, L"geometry");
    const XmlElement *rect = property ? property->Child(L"rect") : nullptr;
    if (!rect)
        Fail(Narrow(widget.nameAttribute) + " に geometry がありません");
    left = Number(rect->Child(L"x"), "x");
    top = Number(rect->Child(L"y"), "y");
    width = Number(rect->Child(L"width"), "width");
    height = Number(rect->Child(L"height"), "height");
}

void ReadComponents(const XmlElement &parentWidget, int parent, WindowDescription &window)
{
    for (const XmlElement &child : parentWidget.children) {
        if (child.name != L"widget")
            continue;
        ComponentDescription component;
        component.className = child.classAttribute;
        component.name = child.nameAttribute;
        component.parent = parent;
        ReadGeometry(child, component.left, component.top, component.width, component.height);
        component.text =
            StringProperty(child, child.classAttribute == L"QGroupBox" ? L"title" : L"text");
        component.toolTip = StringProperty(child, L"toolTip");
        if (const XmlElement *buddy = Property(child, L"buddy"))
            if (const XmlElement *name = buddy->Child(L"cstring"))
                component.buddy = name->text;
        if (const XmlElement *font = Property(child, L"font"))
            if (const XmlElement *value = font->Child(L"font"))
                if (const XmlElement *bold = value->Child(L"bold"))
                    component.bold = bold->text == L"true";
        if (const XmlElement *maxLength = Property(child, L"maxLength"))
            component.maxLength = Number(maxLength->Child(L"number"), "maxLength");
        window.components.push_back(std::move(component));
        ReadComponents(child, static_cast<int>(window.components.size()) - 1, window);
    }
}

} // namespace

int WindowDescription::IndexOf(std::wstring_view componentName) const
{
    for (std::size_t i = 0; i < components.size(); ++i)
        if (components[i].name == componentName)
            return static_cast<int>(i);
    return -1;
}

WindowDescription ParseWindowDescription(std::string_view xml)
{
    const XmlElement ui = ReadTree(xml);
    const XmlElement *widget = ui.Child(L"widget");
    if (!widget)
        Fail("ウィンドウの <widget> がありません");

    WindowDescription window;
    if (const XmlElement *className = ui.Child(L"class"))
        window.className = className->text;
    window.name = widget->nameAttribute;
    int x = 0, y = 0;
    ReadGeometry(*widget, x, y, window.clientWidth, window.clientHeight);
    window.caption = StringProperty(*widget, L"windowTitle");
    if (const XmlElement *font = Property(*widget, L"font")) {
        if (const XmlElement *value = font->Child(L"font")) {
            if (const XmlElement *family = value->Child(L"family"))
                window.fontFamily = family->text;
            if (const XmlElement *size = value->Child(L"pointsize"))
                window.fontPointSize = Number(size, "pointsize");
        }
    }
    window.charset = StringProperty(*widget, L"Charset");
    if (const XmlElement *left = Property(*widget, L"Left"))
        window.left = Number(left->Child(L"number"), "Left");
    if (const XmlElement *top = Property(*widget, L"Top"))
        window.top = Number(top->Child(L"number"), "Top");
    ReadComponents(*widget, -1, window);

    if (const XmlElement *tabStops = ui.Child(L"tabstops"))
        for (const XmlElement &stop : tabStops->children)
            if (stop.name == L"tabstop") {
                if (window.IndexOf(stop.text) < 0)
                    Fail("タブ順の " + Narrow(stop.text) + " というコンポーネントがありません");
                window.tabStops.push_back(stop.text);
            }
    return window;
}
