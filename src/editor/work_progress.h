#pragma once
// Long editor work - drawing a large table, loading a large scheme - says
// how far it got and asks whether to go on, so that a window can show it
// and let the student stop it. Work that is stopped changes nothing.

namespace ohmara {

class WorkProgress {
 public:
  virtual ~WorkProgress() = default;
  // `done` of `total` steps; false stops the work.
  virtual bool Report(int done, int total) = 0;
};

// Asks `progress` (when there is one) once `every` more steps are done, and
// at the end.
class ProgressSteps {
 public:
  ProgressSteps(WorkProgress* progress, int total, int every = 64)
      : progress_(progress), total_(total), every_(every) {}
  // False once the work is to stop.
  bool Advance(int done) {
    if (!progress_ || stopped_ || (done - reported_ < every_ && done != total_) || done == reported_) return !stopped_;
    reported_ = done;
    stopped_ = !progress_->Report(done, total_);
    return !stopped_;
  }
  bool Stopped() const { return stopped_; }

 private:
  WorkProgress* progress_;
  int total_;
  int every_;
  int reported_ = 0;
  bool stopped_ = false;
};

}  // namespace ohmara
