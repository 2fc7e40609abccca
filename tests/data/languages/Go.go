// Command wordcount counts the words of the named files concurrently.
package main

import (
	"bufio"
	"errors"
	"fmt"
	"os"
	"sync"
)
const maxFiles = 1 << 8
type result struct {
	name  string
	words int
	err   error // nil on success
}

var errTooMany = errors.New("too many files")
func countWords(name string) (n int, err error) {
	f, err := os.Open(name)
	if err != nil {
		return 0, fmt.Errorf("open %q: %w", name, err)
	}
	defer f.Close()
	sc := bufio.NewScanner(f)
	sc.Split(bufio.ScanWords)
	for sc.Scan() {
		n++
	}
	return n, sc.Err()
}

func main() {
	names := os.Args[1:]
	if len(names) > maxFiles {
		fmt.Fprintln(os.Stderr, errTooMany)
		os.Exit(2)
	}
	results := make(chan result, len(names))
	var wg sync.WaitGroup
	for _, name := range names {
		wg.Add(1)
		go func() {
			defer wg.Done()
			n, err := countWords(name)
			results <- result{name: name, words: n, err: err}
		}()
	}
	wg.Wait()
	close(results)
	total := 0
	for r := range results {
		if r.err != nil {
			fmt.Println("error:", r.err)
			continue
		}
		total += r.words
	}
	fmt.Printf("%d words, %.1f per file, sep %c\n", total, float64(total)/float64(max(len(names), 1)), '\t')
}
