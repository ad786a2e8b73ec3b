#include "core/editor/captions.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"

namespace cam {

std::string SizeCaption(const Program& p) { return Text(p, txt::kSize) + D2(p.CurSize); }
std::string CamCaption(const Program& p) { return Text(p, txt::kCam) + D2(p.CurCam + 1); }
std::string PhaseCountCaption(const Program& p, int phases) { return Text(p, txt::kPhases) + " " + D4(phases); }

}  // namespace cam
