// CHookList: ordered callbacks fired until the first one returns false.
#pragma once

#include <functional>
#include <vector>

namespace Lomar {

template <typename Arg>
class CHookList
{
public:
    using Hook = std::function<bool(Arg&)>;

    void add(Hook hook) { m_hooks.push_back(std::move(hook)); }
    bool is_empty() const { return m_hooks.empty(); }
    void clear() { m_hooks.clear(); }

    // False when a hook returned false (the later ones are not called); true otherwise.
    bool fire(Arg& arg) const
    {
        for (const Hook& hook : m_hooks)
            if (!hook(arg)) return false;
        return true;
    }

private:
    std::vector<Hook> m_hooks;
};

} // namespace Lomar
