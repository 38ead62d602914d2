// The ledger's texts of the skin component's messages (see skin_messages_zh.h).
#include "app/skin_messages_zh.h"

#include "skin/data/skin_component.h"

void UseLedgerSkinMessages(TSkinData& skin)
{
    static const struct {
        TSkinMessage Message;
        const char* Text;
    } texts[] = {
        {smNotFound, "找不到皮肤文件\"%1\"。\n继续使用当前的皮肤。"},
        {smCannotRead, "无法读取皮肤文件\"%1\"。\n继续使用当前的皮肤。"},
        {smCannotUse, "皮肤文件\"%1\"不能使用:%2\n继续使用当前的皮肤。"},
        {smDamaged, "文件已损坏。"},
        {smEmpty, "文件是空的,已损坏。"},
        {smTooManyFiles, "文件里列出的文件超过1001个。"},
        {smOverBudget, "皮肤的图片需要的内存超过了一个皮肤允许用的。"},
        {smMissingImage, "皮肤说明用到图片\"%1\",文件里却没有这张图片。"},
        {smNoBorder, "无法做出窗口边框\"%1\"。"},
        {smOlderNote, "皮肤文件的版本无法识别,继续使用当前的皮肤。"},
    };
    for (const auto& text : texts) skin.SetMessageText(text.Message, text.Text);
}
