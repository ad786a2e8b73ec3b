// A program as JSON for scripts: the bytes written out.
#include "core/exchange/cam_json.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

namespace {

TEST(CamJson, HoldsTheModelTheFunctionsBlockRemarksAndEveryPhase) {
    cam::Program p = camtest::MakeExportSample(16);
    EXPECT_EQ(cam::CamJsonText(p),
              "{\n"
              "  \"format\": \"camdesk program\",\n"
              "  \"version\": 1,\n"
              "  \"model\": {\"cams\": 16, \"sizes\": 2, \"encoders\": 1},\n"
              "  \"functions\": {\n"
              "    \"advances\": {\"on\": true, \"ms\": [12, 0]},\n"
              "    \"group_advances_ms\": {\"17-20\": 0, \"21-24\": 0},\n"
              "    \"delays\": {\"on\": false, \"17-20\": 0, \"21-24\": 0},\n"
              "    \"ratio\": {\"on\": true, \"25-32\": 7, \"17-32_on\": false},\n"
              "    \"output_size\": 1,\n"
              "    \"encoders\": [{\"shift\": 90, \"direction\": 1}, {\"shift\": 0, \"direction\": 0}, "
              "{\"shift\": 0, \"direction\": 0}],\n"
              "    \"speed_limit\": 1500\n"
              "  },\n"
              "  \"remarks\": [\"Feed, \\\"hot\\\"\", \"\", \"\", \"\", \"\", \"\", \"\", \"\", \"\", \"SPARE\", \"\", "
              "\"\", \"\", \"\", \"\", \"\"],\n"
              "  \"sizes\": [\n"
              "    {\"size\": 1, \"cams\": [\n"
              "      {\"cam\": 1, \"remark\": \"Feed, \\\"hot\\\"\", \"phases\": [[100, 300], [600, 700]]},\n"
              "      {\"cam\": 3, \"remark\": \"\", \"phases\": [[1000, 24]]}\n"
              "    ]},\n"
              "    {\"size\": 2, \"cams\": [\n"
              "      {\"cam\": 1, \"remark\": \"Feed, \\\"hot\\\"\", \"phases\": [[0, 1024]]}\n"
              "    ]}\n"
              "  ]\n"
              "}\n");
    // A size without phases is an empty list.
    cam::ClearSize(p, 2);
    EXPECT_NE(cam::CamJsonText(p).find("    {\"size\": 2, \"cams\": []}\n  ]\n}\n"), std::string::npos);
}

TEST(CamJson, StringsAreUtf8WithTheEscapesJsonRequires) {
    EXPECT_EQ(cam::JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(cam::JsonString("\t\x01\x7F"), "\"\\u0009\\u0001\\u007f\"");
    EXPECT_EQ(cam::JsonString("\xB0"
                              "C \x80"),
              "\"\xC2\xB0"
              "C \xE2\x82\xAC\"");
}

}  // namespace
