#include "bench/Workloads.h"

namespace qv::bench {

std::string workloadArithmetic(std::int64_t rows) {
    return "table W1{\n    x:=range 1 to " + std::to_string(rows) +
           "!\n    a:=x*2!\n    b:=a+x!\n    c:=b/3!\n    d:=if c>10 then c else -c!\n"
           "    e:=d*d-a!\n    f:=e/(x+1)!\n    g:=f+b!\n    h:=g*0.5!\n}\n//--end";
}

std::string workloadRunningTotal(std::int64_t rows) {
    return "table W2{\n    x:=range 1 to " + std::to_string(rows) +
           "!\n    s:=if row=1 then x else prev+x!\n}\n//--end";
}

std::string workloadAggregates(std::int64_t rows) {
    return "table W3{\n    x:=range 1 to " + std::to_string(rows) +
           "!\n    total:=sum(x)!\n    mean:=avg(x)!\n    largest:=max(x)!\n"
           "    sorted:=sort(x)!\n    moving:=mavg(3, x)!\n}\n//--end";
}

std::string workloadAggregatesUnsorted(std::int64_t rows) {
    return "table W3{\n    i:=range 1 to " + std::to_string(rows) +
           "!\n    x:=srand(i)!\n    total:=sum(x)!\n    mean:=avg(x)!\n    largest:=max(x)!\n"
           "    sorted:=sort(x)!\n    moving:=mavg(3, x)!\n}\n//--end";
}

// A base of ten fields; each derived table overrides two of them.
std::string workloadInheritance() {
    std::string text =
        "table Base{\n    n:=range 1 to 100!\n    f1:=n*2!\n    f2:=f1+n!\n    f3:=f2/3!\n"
        "    f4:=f3*f3!\n    f5:=f4-f1!\n    f6:=f5/(n+1)!\n    f7:=f6+f2!\n    f8:=f7*0.5!\n"
        "    f9:=f8+f1!\n}\n";
    for (int t = 0; t < 1000; ++t) {
        text += "table D" + std::to_string(t) + " extends Base{\n    f2:=f1+n*" +
                std::to_string(t % 7 + 1) + "!\n    f5:=f4-f1*" + std::to_string(t % 5 + 1) +
                "!\n}\n";
    }
    return text + "//--end";
}

// A local table of 50 fields asked for 10,000 rates.
std::string workloadWhatIf() {
    std::string model = "table Model{\n    rate:=0.05;\n    v0:=1000*(1+rate)!\n";
    for (int f = 1; f < 48; ++f) {
        model += "    v" + std::to_string(f) + ":=v" + std::to_string(f - 1) + "*(1+rate)-" +
                 std::to_string(f) + "!\n";
    }
    model += "    total:=v47+v0!\n}\n";
    return model +
           "table Sweep{\n    r:=range 0.0001 to 1 steps 10000!\n    total:=Model(rate := "
           "r).total!\n}\n"
           "//--end";
}

std::string workloadErrors(std::int64_t rows, bool mistaken) {
    return "table W7{\n    x:=range 1 to " + std::to_string(rows) +
           "!\n    y:=" + (mistaken ? "nosuchname" : "x") + "+x!\n    z:=y+1!\n}\n//--end";
}

std::string workloadCircular(std::int64_t rows, bool mistaken) {
    return "table W8{\n    x:=range 1 to " + std::to_string(rows) +
           "!\n    y:=" + (mistaken ? "y" : "1") + "+x!\n}\n//--end";
}

}  // namespace qv::bench
