#!/usr/bin/env bash
# Prints the size of the tests against the size of the code, whole and per
# top-level section: lines that are neither blank nor only a comment, in the
# tracked .cpp, .h and .c files. Tests are everything under tests/ (counted in
# the section they mirror: tests/voices/ against voices/); code is everything
# else but benchmarks/.
#   scripts/count-lines.sh          the working tree's tracked files
#   scripts/count-lines.sh <rev>    the files of a commit (e.g. main, HEAD~3)
set -euo pipefail
cd "$(dirname "$0")/.."
rev=${1:-}

if [[ -n $rev ]]; then
    files=$(git ls-tree -r --name-only "$rev" | grep -E '\.(cpp|h|c)$' || true)
else
    files=$(git ls-files -- '*.cpp' '*.h' '*.c')
fi

for f in $files; do
    [[ $f == benchmarks/* ]] && continue
    echo "@@file $f"
    if [[ -n $rev ]]; then git show "$rev:$f"; else cat "$f"; fi
    echo   # a last line without a newline must not join the next marker
done | awk -v quote="'" '
function section(path,   parts) {
    split(path, parts, "/")
    if (parts[1] == "tests") return (length(parts) > 2 ? parts[2] : "(tests)")
    return (length(parts) > 1 ? parts[1] : "(root)")
}
# True when the line holds anything outside comments. Strings and character
# literals are skipped whole, so "//" inside them is not a comment; a raw
# string may run over several lines.
function hasCode(line,   i, n, c, two, code, at) {
    code = 0; n = length(line); i = 1
    while (i <= n) {
        if (inRaw != "") {
            at = index(substr(line, i), inRaw)
            if (at == 0) return 1
            i += at + length(inRaw) - 1; inRaw = ""; code = 1; continue
        }
        if (inBlock) {
            at = index(substr(line, i), "*/")
            if (at == 0) return code
            i += at + 1; inBlock = 0; continue
        }
        c = substr(line, i, 1); two = substr(line, i, 2)
        if (two == "//") return code
        if (two == "/*") { inBlock = 1; i += 2; continue }
        if (c == " " || c == "\t" || c == "\r") { i++; continue }
        code = 1
        if (c == "R" && match(substr(line, i), /^R"[^ ()\\]*\(/)) {
            inRaw = ")" substr(line, i + 2, RLENGTH - 3) "\""
            i += RLENGTH; continue
        }
        if (c == "\"" || c == quote) {
            for (i++; i <= n && substr(line, i, 1) != c; i++)
                if (substr(line, i, 1) == "\\") i++
        }
        i++
    }
    return code
}
/^@@file / { file = substr($0, 8); sec = section(file); isTest = (file ~ /^tests\//)
             inBlock = 0; inRaw = ""; seen[sec] = 1; next }
hasCode($0) { if (isTest) tests[sec]++; else code[sec]++ }
END {
    printf "%-14s %8s %8s %8s\n", "section", "code", "tests", "tests %"
    for (s in seen) {
        ratio = code[s] > 0 ? sprintf("%7.1f%%", 100 * tests[s] / code[s]) : "       -"
        printf "%-14s %8d %8d %s\n", s, code[s], tests[s], ratio | "sort"
        allCode += code[s]; allTests += tests[s]
    }
    close("sort")
    printf "%-14s %8d %8d %7.1f%%\n", "total", allCode, allTests, (allCode > 0 ? 100 * allTests / allCode : 0)
}'
