// The functions window's form model opened on a program of its own, as the window opens it.
#pragma once

#include "core/functions/functions_form.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace camtest {

using Ints = std::vector<int>;
using Strings = std::vector<std::string>;

struct Functions : ::testing::Test {
    cam::Program p;
    cam::ScriptedPrompt prompt;
    std::unique_ptr<cam::FunctionsForm> f;

    cam::FunctionsForm& Open(int cams = 32, int encoders = 1) {
        p = camtest::MakeProgram(cams, 7, encoders);
        return Reopen();
    }
    cam::FunctionsForm& Reopen() {
        f = std::make_unique<cam::FunctionsForm>(p, prompt);
        f->Activate();
        return *f;
    }
    void Advances(const std::string& count) {
        f->clickAdvances(true);
        f->changeCount(count);
    }
    // The block switches as shown, delays, ratio 17-32, ratio 25-32: "+" on, "-" off, "x" off
    // and disabled, "*" on and disabled.
    std::string Switches() const {
        auto mark = [](cam::SwitchView s) { return s.checked ? (s.enabled ? '+' : '*') : (s.enabled ? '-' : 'x'); };
        return {mark(f->delays()), mark(f->ratio17()), mark(f->ratio25())};
    }
    // The editing area as shown: "row caption | kind caption | unit value/maximum".
    std::string Area() const {
        return f->rowCaption() + " | " + f->kindCaption() + " | " + f->unit() + " " + std::to_string(f->sliderValue()) +
               "/" + std::to_string(f->sliderMax());
    }
    // The rows whose own cell is drawn, as "first:span".
    std::vector<std::string> Cells() const {
        std::vector<std::string> out;
        for (int i = 0; i < f->rows(); ++i)
            if (f->row(i).cell) out.push_back(std::to_string(i) + ":" + std::to_string(f->row(i).span));
        return out;
    }
};

}  // namespace camtest
