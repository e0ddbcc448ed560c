#include "bench/DocumentGenerator.h"

namespace qv::bench {

namespace {

void appendTable(std::string& out, int index) {
    std::string name = "Table" + std::to_string(index);
    out += "table " + name;
    if (index % 3 == 1) out += " extends Table" + std::to_string(index - 1);
    out += "{\n";
    out += "    x:=range 1 to 100!\n";
    out += "    price:=x*1.25+3!\n";
    out += "    tax:=if price>50 then price*0.2 else price*0.1;\n";
    out += "    label:=\"item \" & x!\n";
    out += "    [running total]:=if row=1 then price else prev+price!\n";
    out += "    share:=price/sum(price)!\n";
    out += "    avg3:=mavg(price, 3) alt 0;\n";
    out +=
        "    other:=Table" + std::to_string(index > 0 ? index - 1 : 0) + "(rate := 0.05).total!\n";
    out += "    x*2 /* unnamed */!\n";
    out += "    <sum>:={    price:=sum(price),tax:=sum(tax),}\n";
    for (int row = 2; row < 40; row += 3) {
        out += "    <" + std::to_string(row) + ">:={    price:=" + std::to_string(row * 7) +
               ",<4>:=#" + std::to_string(row) + " + #,label:=\"row " + std::to_string(row) +
               "\",}\n";
    }
    out += "}\n";
}

}  // namespace

std::string generateTables(std::size_t targetBytes) {
    std::string out;
    out.reserve(targetBytes + 4096);
    for (int index = 0; out.size() < targetBytes; ++index)
        appendTable(out, index);
    return out;
}

}  // namespace qv::bench
