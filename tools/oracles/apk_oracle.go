// Answers tools/oracles/apk.py with the Go port of apk-tools' version
// comparison that scanners use (github.com/knqyf263/go-apk-version).
//
//	apk_oracle valid     one text a line in, 1 (valid) or 0 a line out
//	apk_oracle matrix    one version a line in; for each, a line of
//	                     <, = or > against every version, in input order
//	apk_oracle compare   "A<TAB>B" lines in, -1, 0 or 1 a line out
//	apk_oracle sort      lines in, the same lines in the port's order out
//	                     (bench/scheme_bench.py times it)
package main

import (
	"bufio"
	"fmt"
	"os"
	"sort"
	"strings"

	version "github.com/knqyf263/go-apk-version"
)

func main() {
	out := bufio.NewWriter(os.Stdout)
	defer out.Flush()
	lines := readLines()
	switch os.Args[1] {
	case "valid":
		writeValid(out, lines, version.Valid)
	case "matrix":
		row := make([]byte, len(lines))
		for _, a := range lines {
			for j, b := range lines {
				row[j] = "<=>"[version.Version(a).Compare(version.Version(b))+1]
			}
			fmt.Fprintln(out, string(row))
		}
	case "sort":
		sort.SliceStable(lines, func(i, j int) bool {
			return version.Version(lines[i]).Compare(version.Version(lines[j])) < 0
		})
		for _, l := range lines {
			fmt.Fprintln(out, l)
		}
	case "compare":
		for _, l := range lines {
			ab := strings.SplitN(l, "\t", 2)
			fmt.Fprintln(out, version.Version(ab[0]).Compare(version.Version(ab[1])))
		}
	}
}
