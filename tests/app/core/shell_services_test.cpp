// The shell's services without a display: where program files are found,
// preferences, the message services and option lists from messages.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "message_services.h"
#include "option_lists.h"
#include "preferences.h"
#include "program_files.h"

namespace tavrin::app {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFiles, SearchOrderAndInstallationDirectory) {
  const fs::path dir = fs::temp_directory_path() / "tavrin-app-program-files";
  fs::remove_all(dir);
  const auto make = [&](const fs::path& relative) {
    fs::create_directories((dir / relative).parent_path());
    std::ofstream(dir / relative) << "x";
  };
  std::map<std::string, std::string> env;
  ProgramFiles files(dir / "share", [&](std::string_view name) -> std::optional<std::string> {
    const auto at = env.find(std::string(name));
    if (at == env.end()) return std::nullopt;
    return at->second;
  });
  EXPECT_EQ(files.Find("nrx.lay"), std::nullopt);
  make("share/nrx.lay");
  EXPECT_EQ(files.Find("nrx.lay"), dir / "share" / "nrx.lay");
  make("sys/nrx.lay");
  env["TAVRIN_SYSDIR"] = (dir / "sys").string();
  env["TAVRIN_USERDIR"] = "";  // empty: skipped
  EXPECT_EQ(files.Find("nrx.lay"), dir / "sys" / "nrx.lay");
  make("user/nrx.lay");
  env["TAVRIN_USERDIR"] = (dir / "user").string();
  EXPECT_EQ(files.Find("nrx.lay"), dir / "user" / "nrx.lay");
  // A name with a directory is taken as given.
  EXPECT_EQ(files.Find((dir / "sys" / "nrx.lay").string()), dir / "sys" / "nrx.lay");
  EXPECT_EQ(files.Find((dir / "none" / "nrx.lay").string()), std::nullopt);
  EXPECT_EQ(files.Installed("nrx.msg"), dir / "share" / "nrx.msg");
  EXPECT_EQ(ProgramFiles({}, nullptr).Installed("NRX.POS"), fs::path("NRX.POS"));

  // The preference names the directory; else the one beside the program.
  fs::create_directories(dir / "share" / "tavrin");
  fs::create_directories(dir / "bin");
  EXPECT_EQ(InstallationDirectory(std::string("/opt/x"), dir / "bin"), fs::path("/opt/x"));
  EXPECT_EQ(InstallationDirectory(std::nullopt, dir / "bin"),
            (dir / "share" / "tavrin").lexically_normal());
  EXPECT_EQ(InstallationDirectory(std::string(), dir / "none"), fs::path());
  fs::remove_all(dir);
}

TEST(Preferences, AnythingButOffIsOn) {
  gui::MemoryPreferenceStore store;
  Preferences p;
  p.startup_open = false;
  p.Read(store);
  EXPECT_TRUE(p.startup_open) << "a missing key is on";
  EXPECT_EQ(p.host_transfer, "Direct");
  store.Write("StartupOpen", "off");
  store.Write("ColorUnits", "OFF");
  store.Write("KalvimetraTransfer", "Datafile");
  store.Write("IniDir4", "/opt/tavrin");
  ASSERT_TRUE(WriteSwitchPreference(store, "BadNomMess", false));
  EXPECT_EQ(store.Read("BadNomMess"), "off");
  p.Read(store);
  // Only "off" itself is off.
  EXPECT_EQ(std::tuple(p.startup_open, p.color_units, p.bad_nominal_message, p.host_transfer,
                       p.installation_directory),
            std::tuple(false, true, false, "Datafile", "/opt/tavrin"));
}

class Boxes : public gui::Presenter {
 public:
  void ShowBox(Box kind, std::string_view title, std::string_view text) override {
    shown.push_back(std::to_string(static_cast<int>(kind)) + " " + std::string(title) + ": " +
                    std::string(text));
  }
  Answer Ask(std::string_view, std::string_view) override { return Answer::kCancel; }
  SaveAnswer AskSave(std::string_view, std::string_view) override { return SaveAnswer::kCancel; }
  bool ShowStatus(std::string_view text) override {
    if (!has_status) return false;
    status = text;
    return true;
  }
  std::vector<std::string> shown;
  std::string status;
  bool has_status = false;
};

TEST(MessageServices, BoxesTitlesStatusLineAndTheErrorFlag) {
  MessageTable table;
  std::istringstream in("4049 \"Oops|Careful|Note|Bye\"\n4050 \">|Busy: \"\n");
  table.Load(in, nullptr);
  Boxes boxes;
  MessageServices services(table, boxes);
  services.Warning("w");
  EXPECT_FALSE(services.error_flag());
  services.Error("e");
  EXPECT_TRUE(services.error_flag());
  services.Information("i");
  services.Fatal("f");
  services.Status("no line yet");
  EXPECT_EQ(boxes.shown, (std::vector<std::string>{"1 Careful: w", "0 Oops: e", "2 Note: i",
                                                   "3 Bye: f", "2 Note: no line yet"}));
  boxes.has_status = true;
  services.Status("ready");
  EXPECT_EQ(boxes.status, ">ready" + std::string(94, ' '));
  services.set_status_line_mode(true);
  services.ClearErrorFlag();
  services.Error("quiet");
  EXPECT_EQ(boxes.status, "quiet");
  EXPECT_TRUE(services.error_flag());
  EXPECT_EQ(boxes.shown.size(), 5u);
}

TEST(OptionLists, FilledFromMessagesAndMadeToFit) {
  MessageTable table;
  std::istringstream in("4000 \"A|B|C\"\n4001 \"Uniform|Gaussian\"\n");
  table.Load(in, nullptr);
  gui::SuChoice any, two, four;
  int target = 0;
  gui::SuAction action{0, &target, {{"", 10}, {"", 20}, {"", 30}}};
  gui::ParameterTable parameters({{"any", &any, nullptr, gui::SuType::kChoice, nullptr},
                                  {"two", &two, nullptr, gui::SuType::kChoice, nullptr},
                                  {"four", &four, nullptr, gui::SuType::kChoice, nullptr},
                                  {"a", &action, nullptr, gui::SuType::kAction, nullptr}});
  Boxes boxes;
  MessageServices services(table, boxes);
  FillOptionLists(parameters,
                  {{"any", 4000}, {"two", 4000, 2}, {"four", 4000, 4}, {"a", 4001}, {"x", 4000}},
                  table, services);
  EXPECT_EQ(any.options, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(two.options, (std::vector<std::string>{"A", "B"})) << "no option the code lacks";
  EXPECT_EQ(four.options, (std::vector<std::string>{"A", "B", "C", "option 4"}));
  ASSERT_EQ(action.options.size(), 3u) << "the program's own options stay";
  EXPECT_EQ(std::tuple(action.options[1].name, action.options[2].name, action.options[2].value),
            std::tuple("Gaussian", "option 3", 30));
  const std::string box = "1 Message 4049 (not found in message file): Message ";
  EXPECT_EQ(boxes.shown, (std::vector<std::string>{box + "4000 names 3 options of two, not 2",
                                                   box + "4000 names 3 options of four, not 4",
                                                   box + "4001 names 2 options of a, not 3"}));
}

}  // namespace
}  // namespace tavrin::app
