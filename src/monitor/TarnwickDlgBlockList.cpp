// The main window's part of the pop-up blocker: the built-in block list.
#include "app/TarnwickDlg.h"
#include "monitor/BlockList.h"

void CTarnwickDlg::BuildBlockList()
{
    std::vector<std::string> patterns;
    AppendBlockListPatterns(patterns);
    BlockList.Append(patterns);
}
