// The outline added to a PDF after its writer: the entries, the pages they open, the update's
// cross-reference section, what it refuses. (qpdf checks the manual's PDF in the install test.)
#include "core/printing/pdf_outline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

// A PDF of two pages as Qt's writer lays one out: objects, a cross-reference table, a trailer.
std::string TwoPages(const std::string& catalogExtra = "") {
    const std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R" + catalogExtra + " >>",
                                              "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
                                              "<< /Type /Page /Parent 2 0 R >>", "<< /Type /Page /Parent 2 0 R >>"};
    std::string pdf = "%PDF-1.4\n", table = "xref\n0 5\n0000000000 65535 f \n";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", pdf.size());
        table += line;
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    return pdf + table + "trailer\n<< /Size 5 /Root 1 0 R /ID [<AB> <AB>] >>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n";
}

// The object whose number is n in the update (the last definition of it).
std::string Object(const std::string& pdf, int n) {
    const std::size_t at = pdf.rfind("\n" + std::to_string(n) + " 0 obj\n");
    return at == std::string::npos ? "" : pdf.substr(at + 1, pdf.find("endobj", at) - at - 1);
}

TEST(PdfOutline, EntriesNestByLevelAndOpenTheirPages) {
    std::string pdf = TwoPages();
    const std::string before = pdf;
    ASSERT_TRUE(cam::AddPdfOutline(pdf, {{1, "Manual", 0, -1},
                                         {2, "Start", 0, 700},
                                         {2, "Files \xE2\x80\x94 A", 1, 500},
                                         {3, "Open", 1, 300},
                                         {1, "Index", 1, -1}})
                    .ok());
    EXPECT_EQ(pdf.substr(0, before.size()), before);  // an update: what was there stays
    EXPECT_THAT(Object(pdf, 1),
                AllOf(HasSubstr("/Type /Catalog /Pages 2 0 R"), HasSubstr("/Outlines 5 0 R /PageMode /UseOutlines")));
    EXPECT_EQ(Object(pdf, 5), "5 0 obj\n<</Type /Outlines /First 6 0 R /Last 10 0 R /Count 5>>\n");
    EXPECT_EQ(Object(pdf, 6),
              "6 0 obj\n<</Title <FEFF004D0061006E00750061006C> /Parent 5 0 R /Next 10 0 R /First 7 0 R "
              "/Last 8 0 R /Count 3 /Dest [3 0 R /XYZ null null null]>>\n");
    EXPECT_THAT(Object(pdf, 8), HasSubstr("<FEFF00460069006C006500730020201400200041> /Parent 6 0 R /Prev 7 0 R "
                                          "/First 9 0 R /Last 9 0 R /Count 1 /Dest [4 0 R /XYZ null 500.0 null]"));
    EXPECT_THAT(Object(pdf, 10), HasSubstr("/Parent 5 0 R /Prev 6 0 R /Dest [4 0 R"));
    // The update's table points at each object it names, and the trailer at the one before.
    const std::size_t xref = std::stoul(pdf.substr(pdf.rfind("startxref\n") + 10));
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    const std::string table = pdf.substr(xref, pdf.find("trailer", xref) - xref);
    EXPECT_EQ(table.substr(5, 4), "1 1\n");
    // The entry of the catalog, then, past the free entry of the next section, the entry of object 6.
    auto objectAt = [&](std::size_t entry) { return pdf.substr(std::stoul(table.substr(entry, 10)), 8); };
    EXPECT_EQ(objectAt(9) + objectAt(9 + 20 + 5 + 20), "1 0 obj\n6 0 obj\n");
    EXPECT_THAT(pdf, HasSubstr("<< /Size 11 /Root 1 0 R /ID [<AB> <AB>] /Prev " +
                               std::to_string(before.find("xref\n")) + " >>"));
}

TEST(PdfOutline, WhatItCannotDoLeavesThePdfAsItWas) {
    for (const auto& [pdf, entries] : std::vector<std::pair<std::string, std::vector<cam::OutlineEntry>>>{
             {TwoPages(), {{1, "Beyond", 2, -1}}},
             {TwoPages(" /Outlines 9 0 R"), {{1, "Again", 0, -1}}},
             {"%PDF-1.5\n1 0 obj\n<< /Type /XRef >>\nendobj\nstartxref\n9\n%%EOF\n", {{1, "Stream", 0, -1}}},
             {"", {}}}) {
        std::string copy = pdf;
        EXPECT_FALSE(cam::AddPdfOutline(copy, entries).ok()) << pdf.substr(0, 40);
        EXPECT_EQ(copy, pdf);
    }
}

}  // namespace
