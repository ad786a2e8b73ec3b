// The whole cam file: header, functions block, size blocks, "END".
#include "core/camfile/cam_file.h"

#include "core/camfile/atomic_write.h"
#include "core/camfile/file_commands.h"
#include "core/camfile/functions_block.h"
#include "core/camfile/line_reader.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace cam {

std::optional<FileCounts> HeaderCounts(std::string_view headerLine) {
    if (headerLine.size() <= 8) return std::nullopt;
    const std::string_view dims = headerLine.substr(headerLine.size() - 8);
    return FileCounts{ValRounded(dims.substr(0, 4)), ValRounded(dims.substr(5))};
}

std::optional<ProgrammerModel> HeaderModel(const std::string& path) {
    LineSource in = LineSource::File(path);
    std::string header;
    if (!in.ok() || !NextLine(in, header) || !Contains(header, "FUNZIONI")) return std::nullopt;
    const auto counts = HeaderCounts(header);
    if (!counts || (counts->cams != 16 && counts->cams != 32) || counts->sizes < 1 || counts->sizes > kMaxSizes)
        return std::nullopt;
    ProgrammerModel m;
    m.NCams = static_cast<int>(counts->cams);
    m.NSizes = static_cast<int>(counts->sizes);
    return m;
}

namespace {

// The whole file, handed to put in pieces of about a megabyte (a large file's text is never
// held at once). put returns false to stop.
bool ProduceCamFile(const CamData& p, const std::function<bool(std::string_view)>& put) {
    constexpr std::size_t kPiece = 1 << 20;
    std::ostringstream functions;
    WriteFunctions(p, functions);
    std::string text = std::move(functions).str();
    text.reserve(2 * kPiece);
    for (int s = 1; s <= p.NSizes; ++s) {
        AppendSize(p, s, text);
        if (text.size() < kPiece) continue;
        if (!put(text)) return false;
        text.clear();
    }
    text += "END\r\n";
    return put(text);
}

}  // namespace

std::string CamFileText(const CamData& p) {
    std::string all;
    ProduceCamFile(p, [&](std::string_view piece) {
        all += piece;
        return true;
    });
    return all;
}

Result WriteCamFile(const CamData& p, const std::string& path) {
    if (path.empty()) return Result::Failure("no file name");
    DurableFile file(path);
    Result written = file.opened();
    ProduceCamFile(p, [&](std::string_view piece) {
        written = file.write(piece);
        return written.ok();
    });
    if (!written) return written;
    return file.commit();
}

Result WriteCamFile(Program& p) { return WriteCamFile(p, p.CamFile); }

namespace {

enum class HeaderResult { Functions, SizesOnly, Failed };

// The line that does not fit the format, and text 10; an empty line (an empty file, above
// all) shows nothing, so the file's name stands in its place.
void FormatError(Program& p, Prompt& prompt, const std::string& name) {
    const std::string shown = p.LineBuf.empty() && !name.empty() ? FileTitle(name) : QuotedLine(p.LineBuf);
    prompt.message(shown + p.Text(10), "", Buttons::Ok, Icon::Exclamation);
}

// The header line and, unless the file holds sizes only, the model checks.
HeaderResult ReadHeader(Program& p, LineSource& in, Prompt& prompt, const std::string& name) {
    auto formatError = [&] {
        FormatError(p, prompt, name);
        return HeaderResult::Failed;
    };
    if (!NextLine(in, p.LineBuf)) return formatError();
    if (!Contains(p.LineBuf, "FUNZIONI")) {
        if (!Contains(p.LineBuf, "FORMATO N. ")) return formatError();
        if (prompt.message("IMPORT ONLY CAM FILE", "", Buttons::OkCancel, Icon::Exclamation) != Answer::Ok)
            return formatError();
        return HeaderResult::SizesOnly;
    }
    if (const auto counts = HeaderCounts(p.LineBuf)) {
        p.FileDims = Right(p.LineBuf, 8);
        if (counts->cams != p.NCams) {
            prompt.message(CStr(counts->cams) + " WRONG NUMBER OF CAMS " + CStr(p.NCams), "", Buttons::Ok, Icon::Stop);
            return HeaderResult::Failed;
        }
        if (counts->sizes > p.NSizes && prompt.message(CStr(counts->sizes) + " BAD TOTAL FORMATS " + CStr(p.NSizes), "",
                                                       Buttons::OkCancel, Icon::None) != Answer::Ok)
            return HeaderResult::Failed;
        ResizeTables(p);
    }
    return HeaderResult::Functions;
}

}  // namespace

CamFileRead ReadCamFile(Program& p, const std::string& path, Prompt& prompt) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return CamFileRead::NoFile;
    p.ReadError = false;
    p.LineBuf.clear();

    Result usable = CheckInputFile(path, kMaxCamFileBytes);
    LineSource in = LineSource::File(path);
    if (usable && !in.ok()) usable = Result::Failure(Fill(Text(p, txt::kCannotRead), {path}));
    if (!usable) {
        prompt.message(usable.reason(), "", Buttons::Ok, Icon::Exclamation);
        p.ReadError = true;
        return CamFileRead::Failed;
    }
    return ReadCamLines(p, in, prompt, path);
}

CamFileRead ReadCamFileText(Program& p, std::string_view bytes, Prompt& prompt) {
    p.ReadError = false;
    p.LineBuf.clear();
    LineSource in(bytes);
    return ReadCamLines(p, in, prompt);
}

CamFileRead ReadCamLines(Program& p, LineSource& in, Prompt& prompt, const std::string& name) {
    switch (ReadHeader(p, in, prompt, name)) {
        case HeaderResult::Failed:
            p.ReadError = true;
            return CamFileRead::Failed;
        case HeaderResult::Functions:
            if (!ReadFunctions(p, in)) {
                FormatError(p, prompt, name);
                p.ReadError = true;
                return CamFileRead::Failed;
            }
            break;
        case HeaderResult::SizesOnly:
            break;
    }

    // Size blocks. On the first pass LineBuf still holds the last line of the functions
    // block and the call only reads up to the first size header.
    long size = 0;  // from two characters: -9..99
    while (!AtEnd(in)) {
        if (Contains(p.LineBuf, "FORMATO N. ")) size = ValRounded(Right(p.LineBuf, 2));
        std::string stop;
        if (!ReadSizeBlock(p, static_cast<int>(size), in, &stop)) {
            // What was read stays; the user learns where and why the read ended.
            prompt.message(stop, "", Buttons::Ok, Icon::Exclamation);
            return CamFileRead::StoppedEarly;
        }
        if (Contains(p.LineBuf, "END")) break;
    }
    return CamFileRead::Complete;
}

}  // namespace cam
