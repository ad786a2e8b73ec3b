// The program data as a document. Every change goes through one edit path (Edit, Load,
// Replace, Restore): it applies the change, records it in the change history and advances
// the revision. Whether the file is saved is derived, never set: the data is saved exactly
// when the cam file writer gives for it the bytes it gave for the state last read or written,
// so an undo back to that state makes it saved again.
#pragma once

#include "core/model/program.h"
#include "core/editor/change_history.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cam {

// What an edit may change; the history notes it before the edit runs.
struct EditScope {
    std::vector<std::pair<int, int>> cams;  // (size, cam)
    std::vector<int> sizes;
    std::vector<int> remarks;
    bool functions = false;
    bool everything = false;

    static EditScope Cam(int size, int cam) { return {{{size, cam}}, {}, {}, false, false}; }
    static EditScope Size(int size) { return {{}, {size}, {}, false, false}; }
    static EditScope Remark(int cam) { return {{}, {}, {cam}, false, false}; }
    static EditScope Functions() { return {{}, {}, {}, true, false}; }
    static EditScope Everything() { return {{}, {}, {}, false, true}; }
};

class CamDocument {
public:
    // The data stays where it is (the run's Program); from here on it changes through this.
    explicit CamDocument(CamData& data);
    CamDocument(const CamDocument&) = delete;
    CamDocument& operator=(const CamDocument&) = delete;

    const CamData& data() const { return data_; }
    // Advances with every change; equal revisions hold equal data.
    long revision() const { return revision_; }

    // The one edit path: runs change on the data and records what it changed under label.
    // Returns true when something changed (nothing changed: nothing recorded, same revision).
    bool Edit(const EditScope& scope, std::string label, const std::function<void(CamData&)>& change);
    // Data read from a file, or made anew: a new history begins, and the data counts as saved.
    void Load(std::string label, const std::function<void(CamData&)>& load);
    // Another program in place of this one (a reception): one history entry while the tables
    // keep their dimensions, else a new history. It counts as saved only when the file holds it.
    void Replace(std::string label, CamData content);
    // Another program that has no history with this one (an import): a new history.
    void Begin(std::string label, CamData content);

    // The file now holds the data.
    void MarkSaved();
    bool FileSaved() const;

    const ChangeHistory& history() const { return history_; }
    // The history window's look back: the data in the state after entry i, without a
    // revision. ShowHistory(history().present()) returns to the present.
    void ShowHistory(std::size_t i) { history_.Show(data_, i); }
    // The state after entry i becomes the present one, as an edit of its own.
    bool RestoreHistory(std::size_t i, std::string label);

private:
    void Changed() { ++revision_; }
    CamData& data_;
    ChangeHistory history_;
    long revision_ = 0;
    long savedRevision_ = 0;
    CamData saved_;                                 // the state the file holds
    mutable std::optional<std::string> savedText_;  // the writer's bytes for it, once asked
    mutable long comparedRevision_ = -1;
    mutable bool comparedEqual_ = false;
};

}  // namespace cam
