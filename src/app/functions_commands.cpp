#include "app/functions_commands.h"

#include "app/main_window.h"
#include "core/texts.h"
#include "functions/functions_window.h"
#include "tools/advance_window.h"

namespace cam {

void ConnectFunctions(MainWindow& window, Program& p, Prompt& prompt) {
    window.setCommand("Fu_Set", [&] {
        const int cam = p.CurCam;
        ChangeBuilder before;
        before.NoteFunctions(p);
        FuncSel functions(p, prompt, &window);
        functions.exec();
        window.RecordChange(before.Finish(p, Text(p, txt::kHistFunctions)));
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
