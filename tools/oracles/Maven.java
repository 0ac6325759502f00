// The maven oracle driver (tables.py's ask() names its modes): Maven's own
// ComparableVersion and VersionRange, from Debian's libmaven3-core-java. Run
// as a single source file: java -cp maven-artifact-3.x.jar Maven.java MODE.
import java.io.BufferedReader;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import org.apache.maven.artifact.versioning.ComparableVersion;
import org.apache.maven.artifact.versioning.DefaultArtifactVersion;
import org.apache.maven.artifact.versioning.VersionRange;

public class Maven {
  public static void main(String[] args) throws Exception {
    BufferedReader in = new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8));
    List<String> lines = new ArrayList<>();
    for (String l = in.readLine(); l != null; l = in.readLine()) lines.add(l);
    StringBuilder out = new StringBuilder();
    switch (args[0]) {
      case "valid":
        for (String l : lines) out.append("1\n");
        break;
      case "compare":
        for (String l : lines) {
          String[] f = l.split("\t", 2);
          int c = new ComparableVersion(f[0]).compareTo(new ComparableVersion(f[1]));
          out.append(Integer.signum(c)).append('\n');
        }
        break;
      case "sort": {
        List<String> vs = new ArrayList<>(lines);
        vs.sort((a, b) -> {
          int c = new ComparableVersion(a).compareTo(new ComparableVersion(b));
          return c != 0 ? c : a.compareTo(b);
        });
        for (int i = 0; i < vs.size(); ) {
          int j = i + 1;
          ComparableVersion first = new ComparableVersion(vs.get(i));
          out.append(vs.get(i));
          for (; j < vs.size() && first.compareTo(new ComparableVersion(vs.get(j))) == 0; j++)
            out.append('\t').append(vs.get(j));
          out.append('\n');
          i = j;
        }
        break;
      }
      case "range":
        for (String l : lines) {
          String[] f = l.split("\t", -1);
          VersionRange r;
          try {
            r = VersionRange.createFromVersionSpec(f[0]);
          } catch (Exception e) {  // a range text the reader refuses
            out.append("!\n");
            continue;
          }
          List<String> kept = new ArrayList<>();
          for (int i = 1; i < f.length; i++)
            if (r.containsVersion(new DefaultArtifactVersion(f[i]))) kept.add(f[i]);
          out.append(String.join("\t", kept)).append('\n');
        }
        break;
      case "violations": {
        // every pair whose comparison disagrees with the classes' positions
        List<String> vs = new ArrayList<>();
        List<Integer> cls = new ArrayList<>();
        for (int k = 0; k < lines.size(); k++)
          for (String v : lines.get(k).split("\t")) {
            vs.add(v);
            cls.add(k);
          }
        List<ComparableVersion> cv = new ArrayList<>();
        for (String v : vs) cv.add(new ComparableVersion(v));
        for (int i = 0; i < vs.size(); i++)
          for (int j = i + 1; j < vs.size(); j++) {
            int c = Integer.signum(cv.get(i).compareTo(cv.get(j)));
            if (c != Integer.signum(cls.get(i) - cls.get(j)))
              out.append(vs.get(i)).append('\t').append(vs.get(j)).append('\t').append(c).append('\n');
          }
        break;
      }
      default:
        throw new IllegalArgumentException("unknown mode " + args[0]);
    }
    System.out.print(out);
  }
}
