// What the Go oracles beside this file share; each is built together with it
// (go build -o PROGRAM ORACLE.go oracle_lines.go).
package main

import (
	"bufio"
	"fmt"
	"os"
)

// readLines reads every line of standard input.
func readLines() []string {
	in := bufio.NewScanner(os.Stdin)
	in.Buffer(make([]byte, 1<<20), 1<<20)
	var lines []string
	for in.Scan() {
		lines = append(lines, in.Text())
	}
	return lines
}

// writeValid writes 1 for each line that valid accepts, else 0.
func writeValid(out *bufio.Writer, lines []string, valid func(string) bool) {
	for _, l := range lines {
		if valid(l) {
			fmt.Fprintln(out, 1)
		} else {
			fmt.Fprintln(out, 0)
		}
	}
}
