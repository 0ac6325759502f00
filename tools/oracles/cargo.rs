// The cargo oracle driver (tables.py's ask() names its modes): the reference
// comparison Cargo itself uses, compiled offline from Debian's copy of its
// source by tools/oracles/cargo.py.
use semver::{Version, VersionReq};
use std::cmp::Ordering;
use std::io::{self, BufRead, Write};

fn sign(o: Ordering) -> i32 {
    match o {
        Ordering::Less => -1,
        Ordering::Equal => 0,
        Ordering::Greater => 1,
    }
}

fn main() {
    let mode = std::env::args().nth(1).expect("mode");
    let lines: Vec<String> = io::stdin().lock().lines().map(|l| l.unwrap()).collect();
    let out = io::stdout();
    let mut out = out.lock();
    match mode.as_str() {
        "valid" => {
            for l in &lines {
                writeln!(out, "{}", Version::parse(l).is_ok() as i32).unwrap();
            }
        }
        "compare" => {
            for l in &lines {
                let (a, b) = l.split_once('\t').unwrap();
                let c = Version::parse(a).unwrap().cmp(&Version::parse(b).unwrap());
                writeln!(out, "{}", sign(c)).unwrap();
            }
        }
        "sort" => {
            let mut vs: Vec<(Version, &String)> =
                lines.iter().map(|l| (Version::parse(l).unwrap(), l)).collect();
            vs.sort_by(|a, b| a.0.cmp(&b.0).then(a.1.cmp(b.1)));
            let mut i = 0;
            while i < vs.len() {
                let mut j = i + 1;
                while j < vs.len() && vs[j].0 == vs[i].0 {
                    j += 1;
                }
                let class: Vec<&str> = vs[i..j].iter().map(|v| v.1.as_str()).collect();
                writeln!(out, "{}", class.join("\t")).unwrap();
                i = j;
            }
        }
        "range" => {
            for l in &lines {
                let mut f = l.split('\t');
                match VersionReq::parse(f.next().unwrap()) {
                    Err(_) => writeln!(out, "!").unwrap(),
                    Ok(r) => {
                        let kept: Vec<&str> =
                            f.filter(|v| r.matches(&Version::parse(v).unwrap())).collect();
                        writeln!(out, "{}", kept.join("\t")).unwrap();
                    }
                }
            }
        }
        _ => panic!("unknown mode {}", mode),
    }
}
