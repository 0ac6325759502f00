// Answers for the golang tables from golang.org/x/mod/semver, one case a line
// on standard input, one answer a line on standard output:
//
//	golang valid    VERSION               1 if semver.IsValid accepts it, else 0
//	golang order    VERSION               RANK<TAB>VERSION in semver.Compare's order
//	golang ranges   RANGE<TAB>VERSION     1 if the version meets the range, else 0
//	golang sort     VERSION               the versions in semver.Sort's order
//
// A range is comparators (=, !=, <, <=, >, >= and a version) joined by blanks
// or commas, all of which must hold, and such lists joined by "||", one of
// which must hold; each comparator is answered by semver.Compare.
package main

import (
	"bufio"
	"fmt"
	"os"
	"sort"
	"strings"

	"golang.org/x/mod/semver"
)

func meets(version, comparator string) bool {
	for _, op := range []string{"<=", ">=", "!=", "<", ">", "="} {
		if strings.HasPrefix(comparator, op) {
			c := semver.Compare(version, comparator[len(op):])
			switch op {
			case "<=":
				return c <= 0
			case ">=":
				return c >= 0
			case "!=":
				return c != 0
			case "<":
				return c < 0
			case ">":
				return c > 0
			}
			return c == 0
		}
	}
	panic("no operator in " + comparator)
}

func inRange(version, text string) bool {
	for _, alternative := range strings.Split(text, "||") {
		all := true
		for _, comparator := range strings.FieldsFunc(alternative, func(r rune) bool { return r == ' ' || r == ',' }) {
			all = all && meets(version, comparator)
		}
		if all {
			return true
		}
	}
	return false
}

func main() {
	out := bufio.NewWriter(os.Stdout)
	defer out.Flush()
	lines := readLines()
	switch os.Args[1] {
	case "valid":
		writeValid(out, lines, semver.IsValid)
	case "order":
		sort.SliceStable(lines, func(i, j int) bool { return semver.Compare(lines[i], lines[j]) < 0 })
		ranks := make([]int, len(lines))
		for i := 1; i < len(lines); i++ {
			ranks[i] = ranks[i-1]
			if semver.Compare(lines[i-1], lines[i]) != 0 {
				ranks[i]++
			}
		}
		// The ranks stand for every pair only if the order is total.
		for i := range lines {
			for j := range lines {
				want := 0
				if ranks[i] < ranks[j] {
					want = -1
				} else if ranks[i] > ranks[j] {
					want = 1
				}
				if semver.Compare(lines[i], lines[j]) != want {
					fmt.Fprintln(os.Stderr, "not a total order at", lines[i], lines[j])
					os.Exit(1)
				}
			}
		}
		for i, v := range lines {
			fmt.Fprintf(out, "%d\t%s\n", ranks[i], v)
		}
	case "sort":
		semver.Sort(lines)
		for _, v := range lines {
			fmt.Fprintln(out, v)
		}
	case "ranges":
		for _, line := range lines {
			fields := strings.Split(line, "\t")
			if inRange(fields[1], fields[0]) {
				fmt.Fprintln(out, 1)
			} else {
				fmt.Fprintln(out, 0)
			}
		}
	}
}
