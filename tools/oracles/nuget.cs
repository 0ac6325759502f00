// Answers for the nuget tables from NuGet.Core, one case a line on standard
// input, one answer a line on standard output:
//
//   nuget.exe valid   VERSION            1<TAB>NORMALISED if SemanticVersion reads it, else 0<TAB>
//   nuget.exe order   VERSION            RANK<TAB>VERSION in SemanticVersion's order
//   nuget.exe ranges  RANGE<TAB>VERSION  1 or 0 from IVersionSpec.Satisfies, E if the
//                                        range is refused
//   nuget.exe sort    VERSION            the versions in SemanticVersion's order
using System;
using System.Collections.Generic;
using System.Linq;
using NuGet;

static class Oracle
{
    static int Main(string[] args)
    {
        var lines = new List<string>();
        string line;
        while ((line = Console.In.ReadLine()) != null)
            lines.Add(line);
        var output = new System.Text.StringBuilder();
        switch (args[0])
        {
        case "valid":
            foreach (var text in lines)
            {
                SemanticVersion v;
                output.Append(SemanticVersion.TryParse(text, out v) ? "1\t" + v.ToNormalizedString() : "0\t").Append('\n');
            }
            break;
        case "order":
            var versions = lines.Select(SemanticVersion.Parse).ToList();
            // OrderBy is stable, so a run writes the same table again.
            var order = Enumerable.Range(0, lines.Count).OrderBy(i => versions[i]).ToList();
            var ranks = new int[order.Count];
            for (int i = 1; i < order.Count; i++)
                ranks[i] = ranks[i - 1] + (versions[order[i - 1]].CompareTo(versions[order[i]]) != 0 ? 1 : 0);
            // The ranks stand for every pair only if the order is total.
            for (int i = 0; i < order.Count; i++)
                for (int j = 0; j < order.Count; j++)
                    if (Math.Sign(versions[order[i]].CompareTo(versions[order[j]])) != ranks[i].CompareTo(ranks[j])
                        || versions[order[i]].Equals(versions[order[j]]) != (ranks[i] == ranks[j]))
                    {
                        Console.Error.WriteLine("not a total order at " + lines[order[i]] + " " + lines[order[j]]);
                        return 1;
                    }
            for (int i = 0; i < order.Count; i++)
                output.Append(ranks[i]).Append('\t').Append(lines[order[i]]).Append('\n');
            break;
        case "sort":
            foreach (var text in lines.OrderBy(SemanticVersion.Parse))
                output.Append(text).Append('\n');
            break;
        case "ranges":
            foreach (var text in lines)
            {
                var fields = text.Split('\t');
                IVersionSpec spec;
                if (!VersionUtility.TryParseVersionSpec(fields[0], out spec))
                    output.Append("E\n");
                else
                    output.Append(spec.Satisfies(SemanticVersion.Parse(fields[1])) ? "1\n" : "0\n");
            }
            break;
        }
        Console.Out.Write(output);
        return 0;
    }
}
