<?php
// Answers for the composer tables from composer/semver, one case a line on
// standard input, one answer a line on standard output:
//
//   composer.php normalize  VERSION            1<TAB>NORMALISED, or 0<TAB> if refused
//   composer.php order      VERSION            RANK<TAB>VERSION, numbered versions in
//                                              Comparator's order; B<TAB>VERSION for a
//                                              branch, after them
//   composer.php ranges     RANGE<TAB>VERSION  1 or 0 from Semver::satisfies, E if the
//                                              range is refused
//   composer.php sort       VERSION            the versions in Semver::sort's order
//
// Versions are compared as Composer compares them: normalised, a default
// branch (dev-master, dev-trunk, dev-default) read as the newest development
// version. Comparator orders no two other branches: each is only equal to
// itself, and below every numbered version, which "order" checks.
require '/usr/share/php/Composer/Semver/autoload.php';

use Composer\Semver\Comparator;
use Composer\Semver\Semver;
use Composer\Semver\VersionParser;

$parser = new VersionParser();
$lines = [];
while (($line = fgets(STDIN)) !== false) {
    $lines[] = rtrim($line, "\n");
}

function fail($message)
{
    fwrite(STDERR, $message . "\n");
    exit(1);
}

switch ($argv[1]) {
case 'normalize':
    foreach ($lines as $v) {
        try {
            $normal = $parser->normalize($v);
            echo "1\t$normal\n";
        } catch (UnexpectedValueException $e) {
            echo "0\t\n";
        }
    }
    break;
case 'order':
    $numbered = [];
    $branches = [];
    foreach ($lines as $v) {
        $key = $parser->normalizeDefaultBranch($parser->normalize($v));
        if (strncmp($key, 'dev-', 4) === 0) {
            $branches[] = [$key, $v];
        } else {
            $numbered[] = [$key, $v];
        }
    }
    $cmp = function ($a, $b) {
        return Comparator::lessThan($a[0], $b[0]) ? -1 : (Comparator::lessThan($b[0], $a[0]) ? 1 : 0);
    };
    // usort is not stable before PHP 8; the text breaks ties so that a run
    // writes the same table again.
    usort($numbered, function ($a, $b) use ($cmp) {
        return $cmp($a, $b) ?: strcmp($a[1], $b[1]);
    });
    $ranks = [0];
    for ($i = 1; $i < count($numbered); $i++) {
        $ranks[] = $ranks[$i - 1] + ($cmp($numbered[$i - 1], $numbered[$i]) !== 0 ? 1 : 0);
    }
    // The ranks stand for every pair only if the order is total.
    foreach ($numbered as $i => $a) {
        foreach ($numbered as $j => $b) {
            if (Comparator::lessThan($a[0], $b[0]) !== ($ranks[$i] < $ranks[$j])) {
                fail("not a total order at $a[1] $b[1]");
            }
        }
        if ($i > 0 && Comparator::equalTo($numbered[$i - 1][0], $a[0]) !== ($ranks[$i - 1] === $ranks[$i])) {
            fail("equalTo disagrees at $a[1]");
        }
    }
    foreach ($branches as $a) {
        foreach ($numbered as $b) {
            if (!Comparator::lessThan($a[0], $b[0]) || Comparator::equalTo($a[0], $b[0])) {
                fail("branch $a[1] not below $b[1]");
            }
        }
        foreach ($branches as $b) {
            if (Comparator::lessThan($a[0], $b[0]) || Comparator::equalTo($a[0], $b[0]) !== ($a[0] === $b[0])) {
                fail("branches $a[1] and $b[1] compare");
            }
        }
    }
    foreach ($numbered as $i => $a) {
        echo $ranks[$i], "\t", $a[1], "\n";
    }
    foreach ($branches as $a) {
        echo "B\t", $a[1], "\n";
    }
    break;
case 'sort':
    foreach (Semver::sort($lines) as $v) {
        echo $v, "\n";
    }
    break;
case 'ranges':
    foreach ($lines as $line) {
        [$range, $version] = explode("\t", $line);
        try {
            echo Semver::satisfies($version, $range) ? "1\n" : "0\n";
        } catch (UnexpectedValueException $e) {
            echo "E\n";
        }
    }
    break;
}
