<?php
// Asks Composer's Intervals how generated constraint pairs relate, for
// tests/data/ranges/composer_relations.tsv.
//   usage: php tools/oracles/composer_ranges.php OUTDIR
// (Debian's php-composer-semver). A fixed seed makes the table again.
require '/usr/share/php/Composer/Semver/autoload.php';

use Composer\Semver\Intervals;
use Composer\Semver\VersionParser;

mt_srand(35, MT_RAND_MT19937);
function pick(array $xs) { return $xs[mt_rand(0, count($xs) - 1)]; }
function version() {
    $v = mt_rand(0, 2) . '.' . mt_rand(0, 2);
    if (mt_rand(0, 1)) $v .= '.' . mt_rand(0, 2);
    return $v . pick(['', '', '', '-alpha1', '-beta', '-RC1', '-dev', '-p1']);
}
function constraint() {
    switch (mt_rand(0, 7)) {
        case 0: return '^' . version();
        case 1: return '~' . version();
        case 2: return version() . ' - ' . version();
        case 3: return mt_rand(0, 2) . '.' . pick(['*', mt_rand(0, 2) . '.*']);
        case 4: return version();
        default: return pick(['<', '<=', '>', '>=', '!=', '==']) . version();
    }
}
function range_text() {
    $and = function () {
        $n = mt_rand(1, 2);
        $parts = [];
        for ($i = 0; $i < $n; ++$i) $parts[] = constraint();
        return implode(' ', $parts);
    };
    return mt_rand(0, 2) == 2 ? $and() . ' || ' . $and() : $and();
}

$parser = new VersionParser();
$valid = function () use ($parser) {
    for (;;) {
        $text = range_text();
        try {
            return [$text, $parser->parseConstraints($text)];
        } catch (UnexpectedValueException $e) {
        }
    }
};
$rows = ["a\tb\tintersects\tsubset"];
for ($i = 0; $i < 1500; ++$i) {
    [$a, $ca] = $valid();
    [$b, $cb] = $valid();
    $rows[] = sprintf("%s\t%s\t%d\t%d", $a, $b, Intervals::haveIntersections($ca, $cb),
                      Intervals::isSubsetOf($ca, $cb));
}
file_put_contents($argv[1] . '/composer_relations.tsv', implode("\n", $rows) . "\n");
