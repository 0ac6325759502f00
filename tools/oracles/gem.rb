# The gem oracle driver (tables.py's ask() names its modes): RubyGems' own
# Gem::Version and Gem::Requirement, as Debian's ruby ships them. A range is
# its requirements joined by commas, each handed to Gem::Requirement apart.
mode = ARGV.fetch(0)
lines = $stdin.each_line.map(&:chomp)
out = []
case mode
when "valid"
  lines.each { |l| out << (Gem::Version.correct?(l) ? "1" : "0") }
when "compare"
  lines.each do |l|
    a, b = l.split("\t", 2)
    out << (Gem::Version.new(a) <=> Gem::Version.new(b)).to_s
  end
when "sort"
  lines.map { |l| [Gem::Version.new(l), l] }.sort { |x, y| [x[0], x[1]] <=> [y[0], y[1]] }
       .chunk_while { |x, y| (x[0] <=> y[0]).zero? }.each { |c| out << c.map(&:last).join("\t") }
when "range"
  lines.each do |l|
    range, *versions = l.split("\t")
    begin
      req = Gem::Requirement.new(*range.split(",", -1))
      out << versions.select { |v| req.satisfied_by?(Gem::Version.new(v)) }.join("\t")
    rescue ArgumentError, Gem::Requirement::BadRequirementError
      out << "!"
    end
  end
else
  raise "unknown mode #{mode}"
end
puts out
