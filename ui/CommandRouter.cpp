#include "ui/CommandRouter.h"

namespace hpa {

void CCommandMap::On(int nID, std::function<void()> fn)
{
    m_handlers.push_back({nID, nID, [f = std::move(fn)](int) { f(); }});
}

void CCommandMap::OnRange(int nFirst, int nLast, Handler fn)
{
    m_handlers.push_back({nFirst, nLast, std::move(fn)});
}

void CCommandMap::OnUpdate(int nID, UpdateHandler fn)
{
    m_updates.push_back({nID, nID, std::move(fn)});
}

void CCommandMap::OnUpdateRange(int nFirst, int nLast, UpdateHandler fn)
{
    m_updates.push_back({nFirst, nLast, std::move(fn)});
}

void CCommandMap::OnUpdateEach(std::initializer_list<int> ids, const UpdateHandler& fn)
{
    for (int nID : ids)
        OnUpdate(nID, fn);
}

const CCommandMap::Handler* CCommandMap::FindHandler(int nID) const
{
    for (const auto& e : m_handlers)
        if (nID >= e.nFirst && nID <= e.nLast)
            return &e.fn;
    return nullptr;
}

const CCommandMap::UpdateHandler* CCommandMap::FindUpdateHandler(int nID) const
{
    for (const auto& e : m_updates)
        if (nID >= e.nFirst && nID <= e.nLast)
            return &e.fn;
    return nullptr;
}

void CCommandRouter::SetTarget(RouteSlot slot, const CCommandMap* pMap)
{
    m_slots[static_cast<std::size_t>(slot)] = pMap;
}

const CCommandMap* CCommandRouter::Target(RouteSlot slot) const
{
    return m_slots[static_cast<std::size_t>(slot)];
}

bool CCommandRouter::HasHandler(int nID) const
{
    for (const CCommandMap* pMap : m_slots)
        if (pMap && pMap->FindHandler(nID))
            return true;
    return false;
}

CCmdUI CCommandRouter::QueryState(int nID) const
{
    CCmdUI state(nID);
    for (const CCommandMap* pMap : m_slots) {
        if (!pMap)
            continue;
        if (const auto* pUpdate = pMap->FindUpdateHandler(nID)) {
            (*pUpdate)(state);
            break;
        }
    }
    // An update handler that only sets a mark leaves enabling to the rule
    // "enabled when handled".
    if (!state.m_bEnableChanged)
        state.m_bEnabled = HasHandler(nID);
    return state;
}

bool CCommandRouter::Execute(int nID) const
{
    if (!QueryState(nID).m_bEnabled)
        return false;
    for (const CCommandMap* pMap : m_slots) {
        if (!pMap)
            continue;
        if (const auto* pHandler = pMap->FindHandler(nID)) {
            // Copy first: a handler may replace the map it belongs to.
            auto fn = *pHandler;
            fn(nID);
            return true;
        }
    }
    return false;
}

} // namespace hpa
