#pragma once
// Command routing and command-update state, as a document/view program
// expects it: every command id goes to the first target on the route (view,
// document, frame, application) that has a handler for it, and the enabled
// and check state of menu items, toolbar buttons and accelerators is asked
// from the targets' update handlers before it is shown or used.
//
// Plain C++ on purpose: the rules are tested without any window.
#include <array>
#include <functional>
#include <vector>

namespace hpa {

// The state one update handler fills in for one command.
class CCmdUI {
public:
    explicit CCmdUI(int nID) : m_nID(nID) {}

    void Enable(bool bOn = true)
    {
        m_bEnabled = bOn;
        m_bEnableChanged = true;
    }
    // 0 unchecked, 1 checked (a check mark).
    void SetCheck(int nCheck = 1)
    {
        m_nCheck = nCheck;
        m_bRadio = false;
    }
    // A radio mark instead of a check mark.
    void SetRadio(bool bOn = true)
    {
        m_nCheck = bOn ? 1 : 0;
        m_bRadio = true;
    }

    int m_nID;
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
    int m_nCheck = 0;
    bool m_bRadio = false;
};

// The handlers of one command target. Single ids and id ranges; the first
// matching entry wins, in the order they were added.
class CCommandMap {
public:
    using Handler = std::function<void(int nID)>;
    using UpdateHandler = std::function<void(CCmdUI&)>;

    void On(int nID, std::function<void()> fn);
    void OnRange(int nFirst, int nLast, Handler fn);
    void OnUpdate(int nID, UpdateHandler fn);
    void OnUpdateRange(int nFirst, int nLast, UpdateHandler fn);
    // The same update handler for several ids.
    void OnUpdateEach(std::initializer_list<int> ids, const UpdateHandler& fn);

    const Handler* FindHandler(int nID) const;
    const UpdateHandler* FindUpdateHandler(int nID) const;

private:
    template <class F> struct Entry {
        int nFirst;
        int nLast;
        F fn;
    };
    std::vector<Entry<Handler>> m_handlers;
    std::vector<Entry<UpdateHandler>> m_updates;
};

// Route order of a single-document program.
enum class RouteSlot { View = 0, Document = 1, Frame = 2, App = 3 };

class CCommandRouter {
public:
    // Plugs a target's map into its slot (nullptr empties the slot). A view
    // created later simply takes the View slot over.
    void SetTarget(RouteSlot slot, const CCommandMap* pMap);
    const CCommandMap* Target(RouteSlot slot) const;

    // True when some target on the route handles the command.
    bool HasHandler(int nID) const;

    // The state of a command: the first update handler on the route decides;
    // when none enables or disables it, the command is enabled exactly when
    // some target handles it, so a key or button without a handler is
    // disabled and does nothing.
    CCmdUI QueryState(int nID) const;

    // Runs the first handler on the route unless the command is disabled
    // right now. Returns true when a handler ran.
    bool Execute(int nID) const;

private:
    std::array<const CCommandMap*, 4> m_slots{};
};

} // namespace hpa
