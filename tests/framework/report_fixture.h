// The report view the list-view tests share: three columns ("项目", "金额",
// "日期") and `rows` entries, row i reading "条目 <i, three digits>", i * 10
// and "2026-12-08".
#pragma once

#include <string>

#include "framework/list_view.h"

inline void FillReport(TListView* list, int rows, int columnWidth)
{
    list->SetViewStyle(vsReport);
    list->SetReadOnly(true);
    for (const char* caption : {"项目", "金额", "日期"}) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(columnWidth);
    }
    list->Items()->BeginUpdate();
    for (int i = 0; i < rows; ++i) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(Format("条目 %03d", i));
        item->SubItems()->Add(std::to_string(i * 10));
        item->SubItems()->Add("2026-12-08");
    }
    list->Items()->EndUpdate();
}
