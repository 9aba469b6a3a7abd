#include "builder/ControlFactory.h"

#include <cwctype>

#include "controls/ButtonUI.h"
#include "controls/ContainerUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "controls/ProgressUI.h"
#include "controls/TabLayoutUI.h"
#include "controls/TextUI.h"
#include "controls/VerticalLayoutUI.h"

namespace Lomar {

namespace {

template <typename T>
CControlUI* make() { return new T; }

struct BuiltIn
{
    const wchar_t* name;
    ControlCreator creator;   // null: the class belongs to the further controls, not built here
};

const BuiltIn kBuiltIns[] = {
    {L"CControlUI", make<CControlUI>},
    {L"CContainerUI", make<CContainerUI>},
    {L"CButtonUI", make<CButtonUI>},
    {L"CComboUI", nullptr},
    {L"CComboBoxUI", nullptr},
    {L"CDateTimeUI", nullptr},
    {L"CEditUI", nullptr},
    {L"CActiveXUI", nullptr},
    {L"CFlashUI", nullptr},
    {L"CGifAnimUI", nullptr},
    {L"CGroupBoxUI", nullptr},
    {L"CIPAddressUI", nullptr},
    {L"CIPAddressExUI", nullptr},
    {L"CLabelUI", make<CLabelUI>},
    {L"CListUI", nullptr},
    {L"CListHeaderUI", nullptr},
    {L"CListHeaderItemUI", nullptr},
    {L"CListLabelElementUI", nullptr},
    {L"CListTextElementUI", nullptr},
    {L"CListContainerElementUI", nullptr},
    {L"CMenuUI", nullptr},
    {L"CMenuElementUI", nullptr},
    {L"COptionUI", make<COptionUI>},
    {L"CCheckBoxUI", make<CCheckBoxUI>},
    {L"CProgressUI", make<CProgressUI>},
    {L"CRichEditUI", nullptr},
    {L"CScrollBarUI", nullptr},
    {L"CSliderUI", nullptr},
    {L"CTextUI", make<CTextUI>},
    {L"CTreeNodeUI", nullptr},
    {L"CTreeViewUI", nullptr},
    {L"CWebBrowserUI", nullptr},
    {L"CAnimationTabLayoutUI", nullptr},
    {L"CChildLayoutUI", nullptr},
    {L"CHorizontalLayoutUI", make<CHorizontalLayoutUI>},
    {L"CTabLayoutUI", make<CTabLayoutUI>},
    {L"CTileLayoutUI", nullptr},
    {L"CVerticalLayoutUI", make<CVerticalLayoutUI>},
    {L"CRollTextUI", nullptr},
    {L"CColorPaletteUI", nullptr},
    {L"CListExUI", nullptr},
    {L"CListContainerHeaderItemUI", nullptr},
    {L"CListTextExtElementUI", nullptr},
    {L"CHotKeyUI", nullptr},
    {L"CFadeButtonUI", nullptr},
    {L"CRingUI", nullptr},
};

} // namespace

CControlFactory& CControlFactory::instance()
{
    static CControlFactory factory;   // C++ makes the first construction thread-safe
    return factory;
}

CControlFactory::CControlFactory()
{
    for (const BuiltIn& b : kBuiltIns) register_control(b.name, b.creator);
}

std::wstring CControlFactory::key_of(const wchar_t* class_name)
{
    std::wstring key(class_name ? class_name : L"");
    for (wchar_t& c : key)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return key;
}

void CControlFactory::register_control(const wchar_t* class_name, ControlCreator creator)
{
    m_classes.emplace(key_of(class_name), creator);
}

bool CControlFactory::is_registered(const wchar_t* class_name) const
{
    return m_classes.count(key_of(class_name)) != 0;
}

CControlUI* CControlFactory::create_control(const wchar_t* class_name) const
{
    auto it = m_classes.find(key_of(class_name));
    if (it == m_classes.end() || !it->second) return nullptr;
    return it->second();
}

} // namespace Lomar
