// Data sources and links: what bound controls are told, and how a control's
// typed text reaches the row before it is posted.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/data/ado_connection.h"
#include "framework/data/data_source.h"
#include "tests/framework/data/store_test_folder.h"

using ::testing::ElementsAre;

namespace {

// A link that writes down what it is told.
class TRecordingLink : public TDataLink {
public:
    std::vector<std::string> log;

protected:
    void ActiveChanged() override { log.push_back(Active() ? "active" : "inactive"); }
    void DataSetChanged() override { log.push_back("changed"); }
    void DataSetScrolled(int distance) override { log.push_back("scrolled " + IntToStr(distance)); }
    void RecordChanged(TField* field) override { log.push_back("record " + (field ? field->FieldName() : "*")); }
    void EditingChanged() override { log.push_back(Editing() ? "editing" : "browsing"); }
    void UpdateData() override { log.push_back("update"); }
};

// What a bound edit box does with its link: shows the field, and hands over
// the typed text when asked.
struct TBoundEdit {
    TFieldDataLink link;
    std::string text;

    explicit TBoundEdit(const std::string& fieldName)
    {
        link.SetFieldName(fieldName);
        link.OnDataChange = [this] { text = link.Field() ? link.Field()->AsString() : ""; };
        link.OnUpdateData = [this] { link.Field()->SetAsString(text); };
    }
    // The user types: the row goes into edit state, the text waits.
    bool Type(const std::string& typed)
    {
        if (!link.Edit()) return false;
        text = typed;
        link.Modified();
        return true;
    }
};

class DataSourceTest : public ::testing::Test {
protected:
    DataSourceTest()
    {
        MakeLedgerFile(FFolder.File(L"data.mdb"));
        FConnection.SetConnectionStringW(L"Data Source=" + FFolder.File(L"data.mdb"));
        for (const char* name : {"a", "b", "c"})
            FConnection.Execute(std::string("insert into data (项目名称, 金额) values ('") + name + "', '1')");
        FQuery.SetConnection(&FConnection);
        FQuery.SQL().Add("select * from data order by 编号 asc");
        FSource.SetDataSet(&FQuery);
    }

    std::vector<std::string> StoredAmounts()
    {
        return RawQuery(FFolder.File(L"data.mdb"), U8(u8"select 金额 from data order by 编号"));
    }

    TTempFolder FFolder;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
    TDataSource FSource{nullptr};
};

TEST_F(DataSourceTest, LinksHearWhatHappensToTheQuery)
{
    TRecordingLink link;
    link.SetDataSource(&FSource);
    EXPECT_THAT(link.log, ElementsAre("inactive"));

    struct Step {
        const char* what;
        std::function<void()> action;
        std::vector<std::string> heard;
    } steps[] = {
        {"open", [&] { FQuery.Open(); }, {"active"}},
        {"next", [&] { FQuery.Next(); }, {"scrolled 1"}},
        {"last", [&] { FQuery.Last(); }, {"scrolled 1"}},
        {"next at the end", [&] { FQuery.Next(); }, {}},
        {"first", [&] { FQuery.First(); }, {"scrolled -2"}},
        {"edit", [&] { FQuery.Edit(); }, {"editing"}},
        {"assign", [&] { FQuery.FieldByName("金额").SetAsString("5"); }, {"record 金额"}},
        {"post", [&] { FQuery.Post(); }, {"update", "browsing", "changed"}},
        {"edit again", [&] { FQuery.Edit(); }, {"editing"}},
        {"cancel", [&] { FQuery.Cancel(); }, {"browsing", "changed"}},
        {"delete", [&] { FQuery.Delete(); }, {"changed"}},
        {"refresh", [&] { FQuery.Refresh(); }, {"changed"}},
        {"close", [&] { FQuery.Close(); }, {"inactive"}},
    };
    for (Step& s : steps) {
        link.log.clear();
        s.action();
        EXPECT_EQ(link.log, s.heard) << s.what;
    }
}

TEST_F(DataSourceTest, BoundEditFollowsTheCurrentRowAndPostsWhatWasTyped)
{
    TBoundEdit name("项目名称"), amount("金额");
    name.link.SetDataSource(&FSource);
    amount.link.SetDataSource(&FSource);
    EXPECT_EQ(amount.link.Field(), nullptr);

    FQuery.Open();
    ASSERT_NE(amount.link.Field(), nullptr);
    EXPECT_EQ(name.text, "a");
    FQuery.Next();
    EXPECT_EQ(name.text, "b");

    // Typed text is not in the row until the row is posted.
    ASSERT_TRUE(amount.Type("250"));
    EXPECT_EQ(FQuery.State(), dsEdit);
    EXPECT_EQ(FQuery.FieldByName("金额").AsString(), "1");
    FQuery.Post();
    EXPECT_EQ(FQuery.FieldByName("金额").AsString(), "250");
    EXPECT_THAT(StoredAmounts(), ElementsAre("1", "250", "1"));

    // Moving on posts typed text too.
    ASSERT_TRUE(amount.Type("300"));
    FQuery.Next();
    EXPECT_EQ(amount.text, "1");  // shows the new row
    EXPECT_THAT(StoredAmounts(), ElementsAre("1", "300", "1"));

    // Cancel shows the row's value again.
    ASSERT_TRUE(amount.Type("999"));
    FQuery.Cancel();
    EXPECT_EQ(amount.text, "1");
    EXPECT_THAT(StoredAmounts(), ElementsAre("1", "300", "1"));

    // Closing drops typed text and empties the controls.
    ASSERT_TRUE(amount.Type("777"));
    FQuery.Close();
    EXPECT_EQ(amount.link.Field(), nullptr);
    EXPECT_EQ(amount.text, "");
    EXPECT_THAT(StoredAmounts(), ElementsAre("1", "300", "1"));
}

TEST_F(DataSourceTest, WhenLinksMayNotEdit)
{
    TBoundEdit key("编号"), amount("金额");
    key.link.SetDataSource(&FSource);
    amount.link.SetDataSource(&FSource);
    FQuery.Open();
    EXPECT_FALSE(key.link.CanModify());
    EXPECT_TRUE(amount.link.CanModify());

    amount.link.SetReadOnly(true);
    EXPECT_FALSE(amount.Type("2"));
    amount.link.SetReadOnly(false);
    FSource.SetAutoEdit(false);
    EXPECT_FALSE(amount.Type("2"));
    EXPECT_EQ(FQuery.State(), dsBrowse);
    FSource.SetAutoEdit(true);

    FSource.SetEnabled(false);
    EXPECT_FALSE(amount.link.Active());
    EXPECT_EQ(amount.link.Field(), nullptr);
    EXPECT_FALSE(amount.Type("2"));
    FQuery.Next();  // a disabled source tells nothing
    EXPECT_EQ(amount.text, "");
    FSource.SetEnabled(true);
    EXPECT_EQ(amount.text, "1");

    FQuery.SQL().SetText("select * from data where 1 = 0");
    FQuery.Open();
    EXPECT_FALSE(amount.Type("2"));  // no row to edit
    EXPECT_EQ(FQuery.State(), dsBrowse);
}

TEST_F(DataSourceTest, EitherSideMayGoFirst)
{
    auto* source = new TDataSource(nullptr);
    source->SetDataSet(&FQuery);
    auto* link = new TRecordingLink;
    link->SetDataSource(source);
    FQuery.Open();
    delete source;
    EXPECT_EQ(link->DataSource(), nullptr);
    EXPECT_FALSE(link->Active());
    FQuery.Next();  // nobody to tell, nothing breaks
    delete link;

    auto* query = new TADOQuery(nullptr);
    query->SetConnection(&FConnection);
    query->SQL().Add("select * from data");
    TDataSource other(nullptr);
    other.SetDataSet(query);
    TRecordingLink watcher;
    watcher.SetDataSource(&other);
    query->Open();
    watcher.log.clear();
    delete query;
    EXPECT_EQ(other.DataSet(), nullptr);
    EXPECT_THAT(watcher.log, ElementsAre("inactive", "inactive"));
}

TEST_F(DataSourceTest, FormEventsOfTheDataSource)
{
    std::vector<std::string> heard;
    FSource.OnStateChange = [&](TDataSource& s) { heard.push_back("state " + IntToStr(s.State())); };
    FSource.OnDataChange = [&](TDataSource&, TField* f) { heard.push_back("data " + (f ? f->FieldName() : "*")); };
    FQuery.Open();
    FQuery.Next();
    FQuery.Edit();
    FQuery.FieldByName("金额").SetAsString("3");
    EXPECT_THAT(heard, ElementsAre("state 1", "data *", "data *", "state 2", "data 金额"));
}

}  // namespace
