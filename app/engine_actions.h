#pragma once

// The engine work the program's buttons and menu commands start: opening,
// saving and closing the network and the data set, the new network, the
// variables' roles, training with its graph and its stop, and runs of the
// network. Each checks what it needs first (numbered messages), leaves the
// state as it was when a check or the engine refuses, and ends with a
// refresh pass.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/status.h"
#include "engine_state.h"
#include "program_parameters.h"
#include "training/trainer.h"

namespace tavrin::app {

class Program;

class EngineActions {
 public:
  explicit EngineActions(Program& program) : program_(program) {}
  EngineActions(const EngineActions&) = delete;
  EngineActions& operator=(const EngineActions&) = delete;

  void Bind(ProgramActions& actions);

  // Copies what the windows show of the network and the data set (the
  // shown layer's functions, coding settings, counts) into the values,
  // before a refresh pass shows them.
  void ShowState();

  // A matrix's cells from text, as pasting them does: cells separated by
  // tabs or blanks. False when the matrix takes no text or the text does
  // not fit it.
  bool SetMatrixFromText(const std::string& name, const std::string& text);

  // What a display shows, as text; none for a display without text.
  std::optional<std::string> DisplayText(const std::string& name) const;

 private:
  // The common checks; each reports its message and answers false.
  bool HasNetwork();
  bool HasData();
  bool Report(int message);
  // Engine work on the current network and data set, made the engine's
  // active pair for its length; reports the engine's message on failure.
  bool WithActivePair(const std::function<Status(EngineState&)>& work);

  // Saves to the work's file, or to one chosen when it has none or
  // `choose` asks; the file and the unsaved flag follow a success.
  int SaveWork(bool choose, std::string_view what, std::string& file, bool& unsaved,
               const std::function<Status(const std::string&)>& save);
  int OpenNetwork();
  int AppendNetwork();
  int SaveNetwork(bool choose);
  int OpenData();
  int SaveData(bool choose);
  int CloseNetwork();
  int CloseData();
  int AdviseDesign();
  int CreateNetwork();
  int SetRoles(int role);
  int Train(Algorithm algorithm);
  int Reinitialise();
  int Jog();
  int Prune(gui::SuParameter& button);
  int ClearTrainingGraph();
  int RunAllCases();
  int RunOneCase();
  int RunOneOff();
  int ResultsToData();
  int AnalyseSensitivity();
  int PruneBySensitivity();
  int ClearOneOff();
  // Runs the network on raw inputs; the outputs as `shown` (an option of
  // runone_outputs_shown) chooses.
  std::vector<double> RunCase(const std::vector<double>& inputs, int shown);
  int RestoreBest();
  int DiscardBest();
  int ApplyNetworkSettings();
  int SetSubsets(Subset subset);
  int Shuffle(gui::SuParameter& command);
  int IgnoreMissing(gui::SuParameter& command);
  // Inserts `count` (> 0) or deletes (< 0) cases or variables at the
  // 1-based `position`, checked against the data set first.
  int ResizeData(bool variables, int position, int count);
  // Cases or variables from .. to moved or copied to the insert position.
  int MoveOrCopy(bool variables, bool copy);
  int DeleteNominal();
  // A name typed into the data editing windows (which parameter says which).
  int ApplyDataNames(gui::SuParameter& p);
  // The data set's counts and the names the editing windows show.
  void ShowDataState();
  // Whether a 1-based case or variable number is in the data set; reports
  // when it is not.
  bool InData(bool variables, int number);
  // Marks the data set changed and refreshes; the actions' result.
  int DataChanged();
  int ScaleFromData();
  int CreateData();
  int SelectInputs();
  int ApplySelectedInputs();
  int DeleteLayer();
  int Randomise();

  // A new network or none replaces the current one: its history and graph go.
  void NetworkReplaced();

  Program& program_;
};

}  // namespace tavrin::app
