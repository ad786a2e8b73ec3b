#include "core/editor/cam_document.h"

#include "core/camfile/cam_file.h"

namespace cam {

CamDocument::CamDocument(CamData& data) : data_(data) {
    history_.Start("");
    MarkSaved();
}

bool CamDocument::Edit(const EditScope& scope, std::string label, const std::function<void(CamData&)>& change) {
    ChangeBuilder noted;
    if (scope.everything) {
        noted.NoteAll(data_);
    } else {
        for (const auto& [size, cam] : scope.cams) noted.NoteCam(data_, size, cam);
        for (int size : scope.sizes) noted.NoteSize(data_, size);
        for (int cam : scope.remarks) noted.NoteRemark(data_, cam);
        if (scope.functions) noted.NoteFunctions(data_);
    }
    change(data_);
    // Tables of other dimensions cannot be walked back to: the history begins again.
    if (noted.Redimensioned(data_)) {
        history_.Start(std::move(label));
        Changed();
        return true;
    }
    if (!history_.Record(noted.Finish(data_, std::move(label)))) return false;
    Changed();
    return true;
}

void CamDocument::Load(std::string label, const std::function<void(CamData&)>& load) {
    load(data_);
    history_.Start(std::move(label));
    Changed();
    MarkSaved();
}

void CamDocument::Replace(std::string label, CamData content) {
    Edit(EditScope::Everything(), std::move(label), [&](CamData& d) { d = std::move(content); });
}

void CamDocument::Begin(std::string label, CamData content) {
    data_ = std::move(content);
    history_.Start(std::move(label));
    Changed();
}

bool CamDocument::RestoreHistory(std::size_t i, std::string label) {
    if (!history_.Restore(data_, i, std::move(label))) return false;
    Changed();
    return true;
}

void CamDocument::MarkSaved() {
    // A copy of the tables costs a fraction of writing them out: the writer's bytes for the
    // saved state are made only when an edit asks whether it still equals them.
    saved_ = data_;
    savedText_.reset();
    savedRevision_ = revision_;
}

bool CamDocument::FileSaved() const {
    if (revision_ == savedRevision_) return true;
    if (comparedRevision_ != revision_) {
        if (!savedText_) savedText_ = CamFileText(saved_);
        comparedEqual_ = CamFileText(data_) == *savedText_;
        comparedRevision_ = revision_;
    }
    return comparedEqual_;
}

}  // namespace cam
