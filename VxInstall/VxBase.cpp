#include "VxBase.h"

#include <utility>

VxBase::~VxBase()
{
    if (m_onDestroy) m_onDestroy();
    m_extra = nullptr;
    m_onDestroy = nullptr;
    m_relayTarget.reset();
}

void VxBase::OnEvent(int, int, int) {}

void VxBase::SetDestroyCallback(std::function<void()> callback) { m_onDestroy = std::move(callback); }

void VxBase::SetExtraCallback(std::function<void()> callback) { m_extra = std::move(callback); }

void VxBase::SetRelayTarget(VxBase* target)
{
    if (target == nullptr) m_relayTarget.reset();
    else m_relayTarget = MakeWeakHandle(target);
}

void VxBase::RaiseEvent(int code, int argument, int extra)
{
    if (m_relayTarget) m_relayTarget->OnEvent(code, argument, extra);
    else OnEvent(code, argument, extra);
}
