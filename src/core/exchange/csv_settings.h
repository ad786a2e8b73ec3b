// The functions block rows of a CSV table ("setting,value"): collected, checked against the
// model and each other, and written into a program. Used by the CSV import.
#pragma once

#include "core/model/program.h"
#include "core/exchange/cam_csv.h"
#include "core/exchange/csv.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cam {

// The refused rows of a table with their reasons (line, reason): the first kListed are kept,
// the others counted, so that a table of a million bad rows costs no more than a page of them.
class CsvRefusals {
public:
    static constexpr std::size_t kListed = 1000;
    void push_back(std::pair<int, std::string> refusal) {
        if (list_.size() < kListed)
            list_.push_back(std::move(refusal));
        else
            ++unlisted_;
    }
    bool empty() const { return list_.empty(); }
    std::vector<std::pair<int, std::string>>& list() { return list_; }
    std::size_t unlisted() const { return unlisted_; }

private:
    std::vector<std::pair<int, std::string>> list_;
    std::size_t unlisted_ = 0;
};

// A row of the functions block: the setting's name and its value as the table gives them.
struct CsvSettingRow {
    int line;
    std::string name, value;
};

// The whole number a field holds (blanks around it allowed), when it lies in lowest..highest.
std::optional<int> WholeNumber(std::string_view text, int lowest, int highest);
// "size cannot be "9" (it takes 1..7)".
std::string BadValue(const Program& texts, const std::string& what, std::string_view value, const std::string& takes);

class CsvSettings {
public:
    explicit CsvSettings(const Program& texts) : t_(texts) {}

    // Collects a row by its name; an unknown name and a name given twice are refused.
    void take(const CsvSettingRow& r, CsvRefusals& refused);
    // Sets the model of built (override, else the rows, else 32 cams, 7 sizes, 1 encoder) and
    // checks every value against it and against the switches it depends on.
    void settle(Program& built, const std::optional<ModelCounts>& override, CsvRefusals& refused);
    // Writes the functions block into built, whose tables are set up and cleared.
    void apply(Program& built) const;

private:
    struct Row {
        int line;
        std::string value;
    };
    const Row* row(const std::string& name) const;
    int number(const std::string& name, int lowest, int highest, int otherwise, CsvRefusals& refused) const;
    int onOff(const std::string& name, CsvRefusals& refused) const;
    // A value the cam file has no place for under the other settings must be 0 (nothing lost).
    void needs(bool kept, const std::string& name, int value, const std::string& condition, CsvRefusals& refused) const;
    void settleAdvances(const Program& built, CsvRefusals& refused);
    void settleEncoders(const Program& built, CsvRefusals& refused);
    void settleDelaysAndRatio(CsvRefusals& refused);

    const Program& t_;
    std::map<std::string, Row> rows_;
    int encoders_ = 1;
    int advOn_ = 0, advCount_ = 0;
    std::vector<int> adv_ = std::vector<int>(kMaxCams, 0);
    int group_[4] = {};
    int shift_[3] = {}, direction_[3] = {};
    int delayOn_ = 0, delay17_ = 0, delay21_ = 0, ratioOn_ = 0, ratio_ = 0, outSize_ = 0, speedLimit_ = 0;
};

}  // namespace cam
