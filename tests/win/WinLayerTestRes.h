// Resources of test_winlayer (ids far from the program's own).
#ifndef TARNWICK_WINLAYER_TEST_RES_H
#define TARNWICK_WINLAYER_TEST_RES_H

#define IDD_TEST_CENTRED   9001
#define IDD_TEST_PLACED    9002

#define IDC_TEST_TEXT      9101
#define IDC_TEST_CHECK     9102
#define IDC_TEST_LIST      9103
#define IDC_TEST_OTHER     9104

#endif
