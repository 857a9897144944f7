#include "predict/commands/graph_update.hpp"

#include "predict/hyperbolic.hpp"

namespace kova::predict {

Message NoCurveMessage(int k, const std::string& name) {
    return AtStation(Message{"開始時の沈下量が既に計算終了条件を超えているため、沈下予測曲線がありません。", kAppTitle,
                             MsgIcon::Exclamation, MsgButtons::Ok, 0},
                     k, name);
}

bool PredictStation(ObsDataSet& data, int k, MessageSink& messages) {
    if (k < 0 || k > kMaxStations) return false;
    StationRecord& rec = data.Stations[k];
    PredictionOutcome out = ComputePrediction(rec, data);
    static_cast<StationResults&>(rec) = std::move(out.results);
    if (out.message) {
        messages.Show(AtStation(*out.message, k, rec.Name, out.cause));
        return false;
    }
    if (rec.LastDay < 1) {
        messages.Show(NoCurveMessage(k, rec.Name));
        return false;
    }
    return true;
}

void UpdateGraphs(ObsDataSet& data, int curStation, MessageSink& messages, const GraphUpdateSteps& steps) {
    if (curStation < 1 || curStation > data.StationCount || curStation > kMaxStations) return;
    if (steps.copyScreen && !steps.copyScreen()) return;
    PredictStation(data, curStation, messages);
    if (steps.showResults) steps.showResults();
    if (steps.refreshTimeGraph) steps.refreshTimeGraph();
    if (steps.refreshRegressionGraph) steps.refreshRegressionGraph();
}

}  // namespace kova::predict
