// CProfileNameDialog: asks for the name of a profile to save or to rename one to. OK hands
// the name to a check that may refuse it (having told the user why); the box then stays open
// with the name selected.
#ifndef TOLLAN_MAINWND_PROFILE_NAME_DIALOG_H
#define TOLLAN_MAINWND_PROFILE_NAME_DIALOG_H

#include "afx/afx.h"

#include <functional>
#include <string>

class CProfileNameDialog : public CDialog {
public:
    typedef std::function<bool(const std::wstring& name)> NameCheck;

    // title: the caption, empty for the template's ("Save as profile").
    CProfileNameDialog(CWnd* parent, const std::wstring& title, const std::wstring& name, NameCheck check);

    // The name the user gave, after IDOK.
    const std::wstring& Name() const { return m_name; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void CenterOnOwner() const;

    CEdit m_editName;
    std::wstring m_title;
    std::wstring m_name;
    NameCheck m_check;
};

#endif
