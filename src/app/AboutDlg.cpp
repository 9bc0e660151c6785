#include "app/AboutDlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialogBase(IDD_ABOUTBOX, nullptr) {}

CAboutDlg::~CAboutDlg() = default;
