#pragma once
// The graph update command: the current station's screen copied into its
// record, its prediction made and shown, both graphs drawn again. The
// prediction step is shared with the calculation run.
#include <functional>
#include <string>

#include "platform/message.hpp"
#include "predict/obsdata.hpp"

namespace kova::predict {

inline constexpr const char* kGraphUpdateButtonCaption = "沈下予測グラフ更新";
inline constexpr const char* kGraphUpdateHelp = "グラフ更新＞沈下予測計算を行いグラフにプロット";

// The message for station k whose fit succeeded while its start settlement
// already lay past the end condition, so that no curve follows from it.
Message NoCurveMessage(int k, const std::string& name);

// Predicts station k (results written, the fit's own messages shown) and
// tells when the fit left no curve because the start lay past the end
// condition. True when the station has a curve.
bool PredictStation(ObsDataSet& data, int k, MessageSink& messages);

// What the update works with on the window.
struct GraphUpdateSteps {
    // Copies the grid and the Sa, Sa' boxes into the current station; false
    // (after its message) when the screen was refused.
    std::function<bool()> copyScreen;
    std::function<void()> showResults;
    std::function<void()> refreshTimeGraph;
    std::function<void()> refreshRegressionGraph;
};

// The command: only when 1 <= curStation <= StationCount.
void UpdateGraphs(ObsDataSet& data, int curStation, MessageSink& messages, const GraphUpdateSteps& steps);

}  // namespace kova::predict
