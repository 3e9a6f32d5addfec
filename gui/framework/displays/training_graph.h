#pragma once

// The training graph (training_graph): the error after every
// training_graph_interval-th epoch, one line for the training cases and,
// when the data set has them, one for the verification cases. Each training
// run starts its own lines, so runs compare side by side; the epoch counter
// runs on across runs until it is reset.

#include <string>
#include <string_view>

#include "display_data.h"

namespace tavrin::gui {

class TrainingGraph {
 public:
  // The lines' standard names: the options of message 4021.
  struct StandardNames {
    std::string training;
    std::string verification;
  };

  // Starts the run's lines. With a label, their legends are "%c. %s" (the
  // first letter of the standard name, then the label), else the standard
  // names. Each line takes the next pen, so runs differ in colour.
  void StartRun(std::string_view label, const StandardNames& names, bool has_verification);

  // Counts one epoch; when its number (from 1 since the last reset) is a
  // multiple of the interval, adds (epoch, error) to the current run's
  // lines. Returns whether points were added.
  bool EpochDone(double training_error, double verification_error);

  // Stores the interval (values below 1 as 1) and resets the counter.
  void SetInterval(int requested);

  // Reinitialising the weights starts the count again; the lines stay.
  void ResetCounter() { epoch_ = 0; }

  // Removes every line and starts the count again.
  void Clear();

  int interval() const { return interval_; }
  long epoch() const { return epoch_; }
  const GraphData& lines() const { return lines_; }

 private:
  GraphData lines_;
  int interval_ = 1;
  long epoch_ = 0;
  int training_line_ = -1;  // of the current run; -1: none
  int verification_line_ = -1;
};

}  // namespace tavrin::gui
