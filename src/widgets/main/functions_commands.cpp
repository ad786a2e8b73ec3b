#include "widgets/main/functions_commands.h"

#include "widgets/main/main_window.h"
#include "core/model/texts.h"
#include "widgets/functions/functions_window.h"
#include "widgets/tools/advance_window.h"

namespace cam {

void ConnectFunctions(MainWindow& window, Program& p, Prompt& prompt) {
    window.setCommand("Fu_Set", [&] {
        const int cam = p.CurCam;
        const FunctionsBlock before = FunctionsOf(p);
        FuncSel functions(p, prompt, &window);
        functions.exec();
        // The window works on the block in place; what it leaves becomes one edit.
        const FunctionsBlock after = FunctionsOf(p);
        PutFunctions(p, before);
        window.document().Edit(EditScope::Functions(), Text(p, txt::kHistFunctions),
                               [&](CamData& d) { PutFunctions(d, after); });
        // Another current cam: the boxes of a cam being edited must not stay with it.
        if (p.CurCam != cam) {
            window.TablesReplaced();
        } else {
            window.Activate();
        }
    });
    window.setCommand("o_Ant", [&] {
        CalcAnt advance(p, &window);
        advance.exec();
    });
}

}  // namespace cam
