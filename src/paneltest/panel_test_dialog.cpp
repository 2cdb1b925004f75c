#include "paneltest/panel_test_dialog.h"

CTestDialog::CTestDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent), m_nDevice(0) {}

void CTestDialog::UpdateButtonStatus(BYTE) {}

void CTestDialog::UpdateLEDState(BYTE, BYTE) {}

void CTestDialog::PointAtDevice(int device) { m_nDevice = device; }

BOOL CTestDialog::Create(CWnd* pParentWnd) { return CDialog::Create(m_nIDTemplate, pParentWnd); }

void CTestDialog::Detach() { m_nDevice = kNoDevice; }

void CTestDialog::Reattach(int device) { m_nDevice = device; }
