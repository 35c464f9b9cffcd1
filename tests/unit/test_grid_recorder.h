#pragma once
// A grid that writes down every notification it receives and can veto moves
// and scrolls, for the grid control tests.
#include "grid/UGCtrl.h"

#include <string>
#include <vector>

namespace hpa::test {

class CRecordingGrid : public CUGCtrl {
public:
    std::vector<std::string> m_log;
    bool m_bVetoMove = false;
    bool m_bVetoScroll = false;

    // Every notification since the last call, then forgets them.
    std::vector<std::string> Take()
    {
        std::vector<std::string> log;
        log.swap(m_log);
        return log;
    }

    int CanMoveCurrent(int c0, int r0, int c1, int r1) override
    {
        Log("CanMoveCurrent", {c0, r0, c1, r1});
        return m_bVetoMove ? 0 : 1;
    }
    int CanScrollView(int l0, int t0, int l1, int t1) override
    {
        Log("CanScrollView", {l0, t0, l1, t1});
        return m_bVetoScroll ? 0 : 1;
    }
    void OnPastLastRow(int n, int nBeyond, int nAdded) override
    {
        Log("OnPastLastRow", {n, nBeyond, nAdded});
    }
    void OnBeforeFirstRow(int n, int nRow) override { Log("OnBeforeFirstRow", {n, nRow}); }
    void OnColumnChanged(int a, int b) override { Log("OnColumnChanged", {a, b}); }
    void OnRowChanged(int a, int b) override { Log("OnRowChanged", {a, b}); }
    void OnCellChanged(int c0, int c1, int r0, int r1) override
    {
        Log("OnCellChanged", {c0, c1, r0, r1});
    }
    void OnLeftColumnChanged(int a, int b) override { Log("OnLeftColumnChanged", {a, b}); }
    void OnTopRowChanged(int a, int b) override { Log("OnTopRowChanged", {a, b}); }
    void OnWriteCell(int c, int r, const CUGCell*) override { Log("OnWriteCell", {c, r}); }

private:
    void Log(const char* pszName, std::initializer_list<int> args)
    {
        std::string str = pszName;
        const char* pszSep = "(";
        for (int n : args) {
            str += pszSep + std::to_string(n);
            pszSep = ",";
        }
        m_log.push_back(str + ")");
    }
};

// Client size that gives a cell area of exactly w x h pixels when both
// scroll bars are shown.
inline void SetCellAreaWithBars(CUGCtrl& grid, int w, int h)
{
    const GridLayout& gl = grid.GetGridLayout();
    grid.SetClientSize(w + gl.m_nSideHeadingWidth + gl.m_nVScrollWidth,
                       h + gl.m_nTopHeadingHeight + gl.m_nHScrollHeight);
}

} // namespace hpa::test
