#include "builder/SkinBuilder.h"

#include <cwchar>

#include "builder/ControlFactory.h"
#include "builder/DialogBuilderCallback.h"
#include "controls/ContainerUI.h"
#include "controls/ControlUI.h"
#include "resources/ResourceCatalog.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

bool name_is(const wchar_t* a, const wchar_t* b) { return a && b && _wcsicmp(a, b) == 0; }
bool is_true(const wchar_t* v) { return v && _wcsicmp(v, L"true") == 0; }

uint32_t read_hex(const wchar_t* v)
{
    if (*v == L'#') ++v;
    return static_cast<uint32_t>(std::wcstoul(v, nullptr, 16));
}

bool is_resource_only(const wchar_t* name)
{
    return name_is(name, L"Image") || name_is(name, L"Font") || name_is(name, L"Default") ||
           name_is(name, L"Style") || name_is(name, L"Import");
}

bool is_numeric_id(const wchar_t* skin)
{
    return reinterpret_cast<uintptr_t>(skin) < 0x10000;
}

} // namespace

CSkinBuilder::CSkinBuilder() {}

CControlUI* CSkinBuilder::create(const wchar_t* skin, const wchar_t* type, IDialogBuilderCallback* callback,
                                 CPaintManagerUI* manager, CControlUI* parent)
{
    if (!skin) return nullptr;
    if (is_numeric_id(skin))
    {
        if (!type) return nullptr;
        HINSTANCE module = m_module ? m_module : GetModuleHandleW(nullptr);
        HRSRC res = FindResourceW(module, skin, type);
        HGLOBAL data = res ? LoadResource(module, res) : nullptr;
        const void* bytes = data ? LockResource(data) : nullptr;
        if (!bytes) return nullptr;
        if (!m_document.load_from_memory(static_cast<const unsigned char*>(bytes), SizeofResource(module, res)))
            return nullptr;
        m_type = type;
    }
    else if (skin[0] != L'<')
    {
        const wchar_t* path = CResourceCatalog::instance().xml_path(skin);
        if (!m_document.load_from_file(path ? path : skin)) return nullptr;
    }
    else if (!m_document.load(skin))
        return nullptr;
    return create(callback, manager, parent);
}

CControlUI* CSkinBuilder::create(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent)
{
    m_callback = callback;
    CXmlNode root = m_document.root();
    if (!root.is_valid()) return nullptr;
    if (manager)
    {
        register_resources(root, manager);
        if (name_is(root.name(), L"Window") && manager->get_window()) apply_window_attributes(root, manager);
    }
    return build_level(root, parent, manager);
}

void CSkinBuilder::register_resources(CXmlNode root, CPaintManagerUI* manager)
{
    for (CXmlNode node = root.first_child(); node.is_valid(); node = node.next_sibling())
    {
        const wchar_t* name = node.name();
        const int n = node.attribute_count();
        if (name_is(name, L"Image"))
        {
            const wchar_t *image = nullptr, *restype = nullptr;
            uint32_t mask = 0;
            bool shared = false;
            for (int i = 0; i < n; ++i)
            {
                const wchar_t* a = node.attribute_name(i);
                const wchar_t* v = node.attribute_value(i);
                if (name_is(a, L"name")) image = v;
                else if (name_is(a, L"restype")) restype = v;
                else if (name_is(a, L"mask")) mask = read_hex(v);
                else if (name_is(a, L"shared")) shared = is_true(v);
            }
            if (image) manager->add_image(image, restype, mask, false, shared);
        }
        else if (name_is(name, L"Font"))
        {
            int id = -1, size = 12;
            const wchar_t* face = nullptr;
            bool bold = false, underline = false, italic = false, is_default = false, shared = false;
            for (int i = 0; i < n; ++i)
            {
                const wchar_t* a = node.attribute_name(i);
                const wchar_t* v = node.attribute_value(i);
                if (name_is(a, L"id")) id = static_cast<int>(std::wcstol(v, nullptr, 10));
                else if (name_is(a, L"name")) face = v;
                else if (name_is(a, L"size")) size = static_cast<int>(std::wcstol(v, nullptr, 10));
                else if (name_is(a, L"bold")) bold = is_true(v);
                else if (name_is(a, L"underline")) underline = is_true(v);
                else if (name_is(a, L"italic")) italic = is_true(v);
                else if (name_is(a, L"default")) is_default = is_true(v);
                else if (name_is(a, L"shared")) shared = is_true(v);
            }
            if (id >= 0)
            {
                manager->add_font(id, face, size, bold, underline, italic, shared);
                if (is_default) manager->set_default_font(face, size, bold, underline, italic, shared);
            }
        }
        else if (name_is(name, L"Default") || name_is(name, L"Style"))
        {
            const wchar_t *key = nullptr, *value = nullptr;
            bool shared = false;
            for (int i = 0; i < n; ++i)
            {
                const wchar_t* a = node.attribute_name(i);
                const wchar_t* v = node.attribute_value(i);
                if (name_is(a, L"name")) key = v;
                else if (name_is(a, L"value")) value = v;
                else if (name_is(a, L"shared")) shared = is_true(v);
            }
            if (!key) continue;
            if (name_is(name, L"Default"))
                manager->add_default_attribute_list(key, value ? value : L"", shared);
            else
                manager->add_style(key, value ? value : L"", shared);
        }
        else if (name_is(name, L"Import"))
        {
            const wchar_t* file = nullptr;
            for (int i = 0; i < n; ++i)
                if (name_is(node.attribute_name(i), L"fontfile")) file = node.attribute_value(i);
            if (file) manager->import_font_file(file);
        }
    }
}

void CSkinBuilder::apply_window_attributes(CXmlNode root, CPaintManagerUI* m)
{
    const int n = root.attribute_count();
    for (int i = 0; i < n; ++i)
    {
        const wchar_t* a = root.attribute_name(i);
        const wchar_t* v = root.attribute_value(i);
        auto exact = [a](const wchar_t* name) { return std::wcscmp(a, name) == 0; };
        const CUIRect r = attr::read_rect(v);
        const CUISize s = attr::read_size(v);
        const int number = static_cast<int>(std::wcstol(v, nullptr, 10));
        if (name_is(a, L"size"))
            m->set_initial_size(m->scale(s.cx), m->scale(s.cy));
        else if (name_is(a, L"sizebox")) m->set_sizebox(r);
        else if (name_is(a, L"caption")) m->set_caption_rect(r);
        else if (name_is(a, L"roundcorner")) m->set_round_corner(s.cx, s.cy);
        else if (name_is(a, L"mininfo")) m->set_min_info(s.cx, s.cy);
        else if (name_is(a, L"maxinfo")) m->set_max_info(s.cx, s.cy);
        else if (name_is(a, L"showdirty")) m->set_show_update_rect(is_true(v));
        else if (name_is(a, L"opacity") || name_is(a, L"alpha")) m->set_opacity(static_cast<uint8_t>(number));
        else if (exact(L"layeredopacity")) m->set_layered_opacity(static_cast<uint8_t>(number));
        else if (exact(L"layered") || exact(L"bktrans")) m->set_layered(is_true(v));
        else if (exact(L"layeredimage"))
        {
            m->set_layered(true);
            m->set_layered_image(v);
        }
        else if (exact(L"noactivate")) m->set_no_activate(is_true(v));
        else if (name_is(a, L"disabledfontcolor")) m->set_default_disabled_color(read_hex(v));
        else if (name_is(a, L"defaultfontcolor")) m->set_default_font_color(read_hex(v));
        else if (name_is(a, L"linkfontcolor")) m->set_default_link_font_color(read_hex(v));
        else if (name_is(a, L"linkhoverfontcolor")) m->set_default_link_hover_font_color(read_hex(v));
        else if (name_is(a, L"selectedcolor")) m->set_default_selected_back_color(read_hex(v));
        else if (name_is(a, L"gdiplustext")) m->set_use_gdiplus_text(is_true(v));
        else if (name_is(a, L"textrenderinghint")) m->set_text_rendering_hint(number);
        else if (name_is(a, L"tooltiphovertime")) m->set_hover_time(number);
        else
            m->apply_shadow_attribute(a, v);
    }
}

CControlUI* CSkinBuilder::build_level(CXmlNode node, CControlUI* parent, CPaintManagerUI* manager)
{
    CControlUI* result = nullptr;
    for (CXmlNode child = node.first_child(); child.is_valid(); child = child.next_sibling())
    {
        const wchar_t* element = child.name();
        if (is_resource_only(element)) continue;
        if (name_is(element, L"Include"))
        {
            if (!child.has_attributes()) continue;
            int count = 1;
            wchar_t source[500] = L"";
            wchar_t buffer[32] = L"";
            if (child.attribute_value(L"count", buffer, 32)) count = static_cast<int>(std::wcstol(buffer, nullptr, 10));
            if (!child.attribute_value(L"source", source, 500) || source[0] == L'\0') continue;
            for (int i = 0; i < count; ++i)
            {
                CSkinBuilder inner;
                inner.set_resource_module(m_module);
                CControlUI* built;
                if (m_type)
                    built = inner.create(MAKEINTRESOURCEW(std::wcstol(source, nullptr, 10)), m_type, m_callback,
                                         manager, parent);
                else
                    built = inner.create(source, nullptr, m_callback, manager, parent);
                if (!result) result = built;
            }
            continue;
        }

        CUIString class_name;
        class_name.format(L"C%sUI", element);
        CControlUI* control = CControlFactory::instance().create_control(class_name);
        if (!control && m_callback) control = m_callback->create_control(element);
        if (!control) continue;

        if (child.has_children()) build_level(child, control, manager);

        if (parent)
        {
            auto* container = static_cast<IContainerUI*>(parent->query_interface(L"IContainer"));
            if (!container)
            {
                delete control;
                return result;
            }
            if (!container->add(control))
            {
                delete control;
                continue;
            }
        }
        if (manager)
        {
            control->set_manager(manager, nullptr, false);
            if (const wchar_t* list = manager->get_default_attribute_list(element)) control->apply_attribute_list(list);
        }
        for (int i = 0; i < child.attribute_count(); ++i)
            control->apply_attribute(child.attribute_name(i), child.attribute_value(i));
        if (manager) control->set_manager(nullptr, nullptr, false);
        if (!result) result = control;
    }
    return result;
}

} // namespace Lomar
