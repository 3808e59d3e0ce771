// Previewing a page list in place of the bundle: every shape of list, sub-pages from the same
// folder, cells only a module could provide, localization beside the list, and files that are no
// page list at all.
#include "host/Runtime/PropertyList.h"
#include "simulator/ScreenDump.h"
#include "tests/simulator/SimulatorFixture.h"

constexpr const char* kItems =
    "items = ( { cell = PSGroupCell; label = Options; },"
    " { cell = PSSwitchCell; label = Sound; key = sound; default = 1; defaults = com.example.preview; },"
    " { cell = PSLinkCell; label = More; detail = ABMoreListController; } );";

class PagePreviewTest : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        folder = temp / "pages";
        std::filesystem::create_directories(folder);
    }
    // Starts previewing `file` in `folder`; false when it cannot be previewed.
    bool preview(const std::string& file, std::string* error = nullptr) {
        options.pageFile = folder / file;
        options.deviceRoot = temp / ("device-" + file);
        return start(error);
    }
    std::string page() const { return sim::ScreenDump::describePage(*app); }

    std::filesystem::path folder;
};

// Every form of list the platform reads previews alike; the title is the list's, else the file's
// name; the rows store into their own domain.
TEST_F(PagePreviewTest, EveryListFormPreviewsWithItsTitleAndStoresValues) {
    const std::string braced = std::string("{ title = \"Braced Page\"; ") + kItems + " }";
    const std::string bare = kItems;
    const std::string binary = host::PropertyList::serialize(*host::PropertyList::parse(braced), host::PropertyList::Format::Binary);
    const std::string xml = host::PropertyList::serialize(*host::PropertyList::parse(bare));
    const struct { const char* file; std::string bytes, title; } cases[] = {
        {"Braced.plist", braced, "Braced Page"}, {"Bare.plist", bare, "Bare"},
        {"Binary.plist", binary, "Braced Page"}, {"Root.xml.plist", xml, "Root.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(folder / c.file, c.bytes);
        std::string error;
        ASSERT_TRUE(preview(c.file, &error)) << error;
        EXPECT_TRUE(app->rowTitled(c.title)) << "the top page lists the page";
        ASSERT_TRUE(app->openBundleEntry());
        EXPECT_EQ(app->visiblePage()->navigationItem()->title(), c.title);
        EXPECT_NE(page().find("section 0 header: \"Options\"\n  [0.0] PSSwitchTableCell \"Sound\" switch=on"), std::string::npos)
            << page();
        ASSERT_TRUE(app->toggleSwitch(rowOf("Sound")));
        EXPECT_EQ(host::PreferenceStore::valueForKey("com.example.preview", "sound"), PlistValue(false));
        EXPECT_EQ(diagnostics(), "");
    }
}

// A detail row opens the list its class names from the same folder (tried with and without the
// maker prefix and the controller suffix); one that has none says which files were tried and
// stays where it is. A list row still opens the host's own list of choices.
TEST_F(PagePreviewTest, DetailRowsOpenSubPageListsBesideThePage) {
    writeFile(folder / "Root.plist", kItems);
    writeFile(folder / "More.plist",
        "title = Extra; items = ( { cell = PSLinkCell; label = Deeper; detail = DeeperController; },"
        " { cell = PSLinkCell; label = Gone; detail = XYGoneListController; },"
        " { cell = PSLinkListCell; label = Pick; detail = PSListItemsController; key = pick;"
        "   defaults = com.example.preview; validTitles = (One, Two); validValues = (1, 2); } );");
    writeFile(folder / "Deeper.plist", "{ items = ( { cell = PSSwitchCell; label = Bottom; } ); }");
    ASSERT_TRUE(preview("Root.plist"));
    ASSERT_TRUE(app->openBundleEntry());

    tap("More");
    EXPECT_EQ(app->visiblePage()->navigationItem()->title(), "Extra");
    EXPECT_EQ(app->backTitle(), "Root");
    tap("Deeper");
    EXPECT_EQ(app->visiblePage()->navigationItem()->title(), "Deeper") << "no title: the row's label";
    EXPECT_TRUE(app->rowTitled("Bottom"));
    ASSERT_TRUE(app->goBack());

    const auto before = app->visibleController();
    tap("Gone");
    EXPECT_EQ(app->visibleController(), before);
    const std::string tried = "(tried XYGoneListController.plist, XYGone.plist, GoneListController.plist, Gone.plist)";
    ASSERT_TRUE(app->note());
    EXPECT_NE(app->note()->find(tried), std::string::npos) << *app->note();
    EXPECT_NE(app->note()->find(folder.string()), std::string::npos) << *app->note();
    EXPECT_NE(diagnostics().find(tried), std::string::npos) << diagnostics();

    tap("Pick");
    EXPECT_EQ(app->visiblePage()->className(), "PSListItemsController");
    tap("Two");
    EXPECT_EQ(host::PreferenceStore::valueForKey("com.example.preview", "pick"), PlistValue(std::string("2")));
}

// A cell class the host does not have, or one only the pane's module provides (loaded into this
// process before), draws as the host's cell for the row's type, with one note per row naming it.
TEST_F(PagePreviewTest, CellClassesOnlyAModuleProvidesDrawAsTheDefaultCell) {
    open();  // the pane's module is now loaded in this process, its cells registered
    writeFile(folder / "Cells.plist",
        "items = ( { cell = PSSwitchCell; label = Plain; cellClass = XYFancyCell; },"
        " { cell = PSSliderCell; label = Slide; cellClass = KXVelkaroSliderCell; min = 0; max = 5; } );");
    ASSERT_TRUE(preview("Cells.plist"));
    ASSERT_TRUE(app->openBundleEntry());
    const std::string shown = page();
    EXPECT_NE(shown.find("[0.0] PSSwitchTableCell \"Plain\" switch=off"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[0.1] PSSliderTableCell named \"Slide\" slider=0 [0..5]"), std::string::npos) << shown;
    const std::string notes = diagnostics();
    for (const std::string name : {"XYFancyCell", "KXVelkaroSliderCell"}) {
        const auto first = notes.find("cell class " + name);
        EXPECT_NE(first, std::string::npos) << notes;
        EXPECT_EQ(notes.find("cell class " + name, first + 1), std::string::npos) << "once per row\n" << notes;
    }
}

// A strings table named after the list, in the chosen language's folder, localizes the title,
// labels, footers and titles of choices.
TEST_F(PagePreviewTest, StringsBesideTheListLocalizeIt) {
    writeFile(folder / "Loc.plist",
        "title = Colours; items = ( { cell = PSGroupCell; label = Options; footerText = Later; },"
        " { cell = PSLinkListCell; label = Hue; detail = PSListItemsController; default = r;"
        "   validTitles = (Red, Blue); validValues = (r, b); } );");
    for (const char* language : {"de.lproj", "en.lproj"}) std::filesystem::create_directories(folder / language);
    writeFile(folder / "de.lproj/Loc.strings",
        "\"Colours\" = \"Farben\"; \"Options\" = \"Optionen\"; \"Later\" = \"Später\"; \"Hue\" = \"Ton\"; \"Red\" = \"Rot\";");
    options.languages = {"de"};
    ASSERT_TRUE(preview("Loc.plist"));
    EXPECT_TRUE(app->rowTitled("Farben"));
    ASSERT_TRUE(app->openBundleEntry());
    EXPECT_EQ(page(), "page PreviewListController \"Farben\"\nsection 0 header: \"Optionen\"\n"
                      "  [0.0] PSTableCell \"Ton\" value=\"Rot\" >\n  footer: \"Später\"\n");
    EXPECT_EQ(diagnostics(), "");
}

// A file that cannot be previewed ends with the reason naming its absolute path; the Settings
// page stays, and nothing opens.
TEST_F(PagePreviewTest, FilesThatAreNoPageListAreRefusedWithTheirPath) {
    const struct { const char* file; const char* bytes; const char* reason; } cases[] = {
        {"Missing.plist", nullptr, "cannot read the page list"}, {"Text.plist", "# not a list", "is not a page list"},
        {"Array.plist", "( a, b )", "is not a page list"}, {"NoItems.plist", "{ title = X; }", "is not a page list"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.bytes) writeFile(folder / c.file, c.bytes);
        std::string error;
        EXPECT_FALSE(preview(c.file, &error));
        EXPECT_NE(error.find((folder / c.file).string()), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(app->visibleController(), app->topPage());
        EXPECT_FALSE(app->openBundleEntry());
    }
}
