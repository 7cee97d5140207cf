#pragma once
// The owner callbacks of the shared dialogs: the tree picker (NSSelectDlg), the number pad
// (NSNumDlg) and a login request (NSLoginDlg). Owners tell several open requests apart by the
// dialog's tag or the login type; a dialog never closes itself, its owner takes it away.

// Owner of a tree picker (UISelectViewController).
class NSSelectDlg {
public:
    virtual ~NSSelectDlg() = default;
    // OK was pressed: the owner reads the picker's m_pos, the marks of its tree and m_writeText,
    // then closes the picker.
    virtual void SelectDlgOk() = 0;
    // The up button was pressed at the top level; owners also call it to close an open picker.
    virtual void SelectDlgCancel() = 0;
};

// Owner of a number pad (UINumViewController).
class NSNumDlg {
public:
    virtual ~NSNumDlg() = default;
    // OK was pressed: the owner reads the pad's m_tag and m_strNum, acts, and closes the pad
    // (or leaves it open to refuse the value).
    virtual void NumDlgOk() = 0;
    // Cancel was pressed: the owner closes the pad.
    virtual void NumDlgCancel() = 0;
};

// Requester of the root's login gate: hears the login type it asked with and whether the login
// succeeded (login types 765001 to 765008).
class NSLoginDlg {
public:
    virtual ~NSLoginDlg() = default;
    virtual void loginBack(int loginType, bool ok) = 0;
};
