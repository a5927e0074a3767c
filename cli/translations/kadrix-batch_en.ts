<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[options]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kadrix</name>
    <message>
        <source>Image trop grande: %1 * %2</source>
        <translation>Picture too large: %1 x %2</translation>
    </message>
    <message>
        <source>Mémoire insuffisante pour une image de %1 * %2</source>
        <translation>Not enough memory for a %1 x %2 picture</translation>
    </message>
    <message>
        <source>Extension de fichier image inconnue (.%1)</source>
        <translation>Unknown picture file extension (.%1)</translation>
    </message>
    <message>
        <source>Image invalide: données illisibles ou endommagées</source>
        <translation>Invalid picture: unreadable or damaged data</translation>
    </message>
    <message>
        <source>Image invalide: %1</source>
        <translation>Invalid picture: %1</translation>
    </message>
    <message>
        <source>Erreur de lecture de %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>Image invalide: mémoire insuffisante</source>
        <translation>Invalid picture: not enough memory</translation>
    </message>
    <message>
        <source>Image invalide: pas un fichier ordinaire (%1)</source>
        <translation>Invalid picture: not a regular file (%1)</translation>
    </message>
    <message>
        <source>Impossible d&apos;ouvrir %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>Image invalide: fichier trop grand (%1)</source>
        <translation>Invalid picture: file too large (%1)</translation>
    </message>
    <message>
        <source>Taille finale invalide: %1 * %2</source>
        <translation>Invalid result size: %1 x %2</translation>
    </message>
    <message>
        <source>Erreur de lecture du flux: %1</source>
        <translation>Cannot read the stream: %1</translation>
    </message>
    <message>
        <source>Erreur d&apos;écriture de l&apos;image JPEG: %1</source>
        <translation>Cannot write the JPEG picture: %1</translation>
    </message>
    <message>
        <source>Impossible de créer %1: %2</source>
        <translation>Cannot create %1: %2</translation>
    </message>
    <message>
        <source>Erreur d&apos;écriture de %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Image invalide: plus de %1 passes dans le fichier JPEG</source>
        <translation>Invalid picture: more than %1 scans in the JPEG file</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF tronqué (%1)</source>
        <translation>Invalid picture: HEIF file cut short (%1)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF endommagé (%1)</source>
        <translation>Invalid picture: damaged HEIF file (%1)</translation>
    </message>
    <message>
        <source>Image invalide: pas un fichier HEIF (%1)</source>
        <translation>Invalid picture: not a HEIF file (%1)</translation>
    </message>
    <message>
        <source>Image invalide: format de compression non pris en charge (%1)</source>
        <translation>Invalid picture: compression format not supported (%1)</translation>
    </message>
    <message>
        <source>Image invalide: fonction HEIF non prise en charge (%1)</source>
        <translation>Invalid picture: HEIF feature not supported (%1)</translation>
    </message>
    <message>
        <source>Image invalide: image trop grande (%1)</source>
        <translation>Invalid picture: picture too large (%1)</translation>
    </message>
    <message>
        <source>Image invalide: mémoire insuffisante (%1)</source>
        <translation>Invalid picture: not enough memory (%1)</translation>
    </message>
    <message>
        <source>Image invalide: données d&apos;image illisibles (%1)</source>
        <translation>Invalid picture: unreadable picture data (%1)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF illisible (%1)</source>
        <translation>Invalid picture: unreadable HEIF file (%1)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF tronqué (le fichier a raccourci)</source>
        <translation>Invalid picture: HEIF file cut short (the file became shorter)</translation>
    </message>
    <message>
        <source>Image invalide: image vide</source>
        <translation>Invalid picture: empty picture</translation>
    </message>
    <message>
        <source>Image invalide: pas un fichier HEIF</source>
        <translation>Invalid picture: not a HEIF file</translation>
    </message>
    <message>
        <source>Image invalide: taille nulle</source>
        <translation>Invalid picture: zero size</translation>
    </message>
    <message>
        <source>Image invalide: image trop grande (%1 * %2)</source>
        <translation>Invalid picture: picture too large (%1 x %2)</translation>
    </message>
    <message>
        <source>Image invalide: aucune image chargée</source>
        <translation>Invalid picture: no picture loaded</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 boîtes)</source>
        <translation>Invalid picture: HEIF file too complex (more than %1 boxes)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 éléments)</source>
        <translation>Invalid picture: HEIF file too complex (more than %1 items)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 morceaux pour un élément)</source>
        <translation>Invalid picture: HEIF file too complex (more than %1 extents for an item)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 références)</source>
        <translation>Invalid picture: HEIF file too complex (more than %1 references)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 associations)</source>
        <translation>Invalid picture: HEIF file too complex (more than %1 associations)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 propriétés)</source>
        <translation>Invalid picture: HEIF file too complex (more than %1 properties)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF endommagé (une tuile manquante)</source>
        <translation>Invalid picture: damaged HEIF file (a tile missing)</translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF endommagé (une tuile sans taille)</source>
        <translation>Invalid picture: damaged HEIF file (a tile without a size)</translation>
    </message>
</context>
<context>
    <name>kadrix-batch</name>
    <message>
        <source>the destination is full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file size limit is reached</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the destination folder is gone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the destination cannot be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: skipped, %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the result exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot replace %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory: the picture needs %1 MB, more than the %2 MB a run may hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>empty picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: skipped, %2: its result %3 is written for %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the result is written for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not started: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped, %1: 1 picture not framed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped, %1: %2 pictures not framed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--out is inside the source folder %1, which --recursive walks: its results would become sources of the next run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: cannot read the list %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--recursive walks into --out through %1: its results would become sources of the next run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: cannot read the placements %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the result would go to a terminal; use --force to write it there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: cannot keep the result in %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sources</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 job</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 jobs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, shard %1/%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 planned, %2 skipped, %3 failed (%4, %5 ms, %6 ms per source, %7%8)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 framed, %2 skipped, %3 failed (%4, %5 ms, %6 ms per source, %7%8)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; stopped by %1, %2 not started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: cannot write to standard output: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read standard input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>more than %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot keep standard input in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot keep standard input: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames pictures to one fixed size, as Kadrix&apos;s &quot;GO&quot; does: each source is centred on a
canvas filled with the wipe colour, cropped symmetrically where it is larger (an odd
leftover pixel goes to the right or bottom), never scaled; --gravity anchors it
elsewhere and --fill fills the margins otherwise. Results are named by the
rename scheme: prefix, the source&apos;s name up to its first &quot;.&quot;, suffix, running number
and extension (.BMP, .JPEG, .PNG, .TIFF or .WEBP).

JPEG results of JPEG sources keep the source&apos;s colour profile and its EXIF block
(without the thumbnail, with the result&apos;s size); PNG, TIFF and WebP results keep the
colour profile. XMP and IPTC blocks are never copied. --strip drops both.

Sources are files and folders, in argument order, then those of --files-from, forming
one list whose position numbers the results. A folder contributes its files (with
--recursive, then its sub-folders&apos;) whose extension is one of the picture types,
sorted by name, each under its own bytes (names differing only in letter case are two
sources). Of sources naming the same result (on a destination that ignores letter
case, A.jpg and a.jpg are one) the first in the list writes it, the others are skipped.

An existing result is skipped and reported unless --overwrite is given. A source that
cannot be read is reported and the others go on. A destination that is full, read-only,
closed or gone stops the run: no new picture is started, and those not framed are
counted as failed.
Exit status: 0 when every source was framed or skipped, 1 when any failed, 2 for
wrong arguments, 130 or 143 when SIGINT or SIGTERM stopped the run (the pictures in
hand are finished first; a second signal ends it at once). Messages are in English,
in French under a French locale; JSON lines in English.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result size, width x height (default 640x480), or a ratio W:H (16:9, 1:1): each result then gets its own size, the largest box of that ratio inside its picture (see --ratio).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --size W:H: crop (default) keeps the largest box of the ratio inside each picture; pad makes the smallest box of the ratio that holds the whole picture, its margins filled as --fill says. Nothing is scaled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour of the margins: a name (white), #RGB or #RRGGBB (default #000000).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder of every result, created when missing (default: the folder &quot;cropped&quot; beside each source).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result format: bmp (24-bit, default), jpeg, png (lossless), tiff (lossless) or webp.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prints which picture formats this installation reads and writes, and exits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG compression level, 0 (none, fastest) to 9 (smallest, slowest); lossless at every level (default 6).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TIFF compression: lzw (lossless, default) or none. deflate is refused: Qt&apos;s TIFF writer does not offer it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WebP quality, 0 to 100; 100 is lossless (default 95).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaves the sources&apos; EXIF blocks and colour profiles out of the results.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG quality, 5 to 95 (default 95).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes progressive JPEG files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grey levels only: JPEG sources are decoded and JPEG results encoded in grey, as with the options dialog&apos;s &quot;Grey levels only&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keeps the JPEG encoder&apos;s chroma sub-sampling (2x2) instead of encoding every component at full resolution.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames JPEG sources as they are stored, ignoring their EXIF orientation (by default a photo is turned upright first).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text before each result name (default cropped_; &quot;&quot; for none).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaves the source&apos;s name out of the result name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text after the source&apos;s name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adds a running number of DIGITS digits (with leading zeros), the first source getting START (default 1) and each next one more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures framed at once (default: every core, here %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes nothing: prints each source&apos;s size, the columns and rows cropped or padded on each side, where a source of --placements is placed, the result path and whether it exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replaces existing results.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How JPEG sources are decoded; the results are the same: whole, the whole picture; window, only the part that lands on the result, reading the rows from the top; seek (default), as window, but files with restart markers are entered at the marker just above that part.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture files and folders; - reads one picture from standard input. -- ends the options: what follows is a source even if it starts with -.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--size wants WxH (a size) or W:H (a ratio, such as 16:9), each term a whole number from 1 to %1: &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--format %1, but --output %2 names a %3 file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reads more sources from FILE (&quot;-&quot;: standard input), one path a line, after the argument sources.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The --files-from list separates paths by NUL, as find -print0 writes them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames only share K of N (K from 0): the sources whose position in the whole list leaves K divided by N, numbered as in the whole run. auto takes K and N from a Slurm, Kubernetes or AWS Batch array task.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --shard auto: the count of tasks (a Kubernetes Job&apos;s completions; else read from KADRIX_SHARD_COUNT).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes one JSON object a line per source on standard output, the summary on standard error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames the sources FILE (&quot;-&quot;: standard input) names where it says: JSON lines with &quot;source&quot; (as the run names it) or &quot;source_base64&quot;, and &quot;x&quot;, &quot;y&quot;, the result&apos;s top-left corner in the upright picture, as --json writes them. Others are placed by --gravity.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What the pictures in hand may hold together, in bytes or with K, M, G or T (default: half of the smallest of the physical memory, the control group&apos;s limit and the process&apos;s RLIMIT_AS and RLIMIT_DATA).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes the sub-folders of folders too (never &quot;cropped&quot; folders), mirroring them under --out; an --out the walk would enter is refused.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where the result sits on the picture: centre (default), north, north-east, east, south-east, south, south-west, west or north-west (ImageMagick&apos;s NorthEast, Center... too). A larger picture keeps that side, a smaller one sits against it. subject (or attention): where the picture&apos;s interest (edges, colour, skin) lies.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What fills the margins: colour (the wipe colour, default), edge (the picture&apos;s outermost pixels repeated), mirror (the picture reflected at its edges) or blur (the picture scaled to cover the result and blurred).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gives each result its source&apos;s modification time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Says nothing but errors.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Says a line for each picture framed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A one-line progress display on standard error (count, rate, time left): auto (default) shows it on a terminal, never with --json or --quiet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes a result to standard output even when it is a terminal.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The path of the one result of a single source file; - (or /dev/stdout) writes it to standard output in the --format, /dev/stderr to standard error. A device, a FIFO or a socket is written into, never replaced. A source - is read from standard input.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a picture from standard input (-) wants --output or --out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--out is the source folder %1: its results would become sources of the next run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output names a file, not the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output names the result of a single file, not of the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--size wants WxH, each side 1 to %1: &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--ratio wants crop or pad: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--ratio goes with a ratio size, --size W:H (such as 16:9)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--wipe wants a colour name (white, darkgrey), #RGB or #RRGGBB: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--out wants a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--format wants %1: &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> or </source>
        <comment>before the last of a list of values</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--quality wants %1 to %2: &quot;%3&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--png-level wants 0 to 9: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--tiff-compression deflate: Qt&apos;s TIFF writer offers only lzw and none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--tiff-compression wants lzw or none: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--webp-quality wants 0 to 100: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--prefix and --suffix name no folder: &quot;%1&quot; holds a &quot;/&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--number wants DIGITS[:START], DIGITS 1 to %1: &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--jobs wants 1 to 256: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--decode wants whole, window or seek: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no source given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--files-from wants a file, or - for standard input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--null goes with --files-from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--shard wants K/N with K from 0 to N-1, or auto: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--shard-count goes with --shard auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--shard-count wants a count from 1: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--json and --dry-run do not go together</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--placements wants a file, or - for standard input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--memory wants a size such as 512M or 4G: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard input (-) can be read only once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--gravity wants %1: &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--fill wants %1: &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--quiet and --verbose do not go together</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--progress wants auto, always or never: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output names the one result of a single source; it is given %1 times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output wants a file, or - for standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output names the one result of a single source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--json and --output - both want standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output goes with neither --recursive nor --shard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the task index &quot;%2&quot; is not a number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the count of tasks is not known</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: task %2 lies outside 0 to %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the array&apos;s step (SLURM_ARRAY_TASK_STEP) must be 1, as with --array=0-N-1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: SLURM_ARRAY_TASK_MIN is not set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --shard-count differs from the array&apos;s SLURM_ARRAY_TASK_COUNT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 wants a count from 1: &quot;%3&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: give the Job&apos;s completions with --shard-count or %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --shard-count differs from the array&apos;s AWS_BATCH_JOB_ARRAY_SIZE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--shard auto: no task index found (SLURM_ARRAY_TASK_ID, JOB_COMPLETION_INDEX or AWS_BATCH_JOB_ARRAY_INDEX); outside a job array give --shard K/N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not valid JSON: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a JSON object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;source_base64&quot; is not base 64</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no &quot;source&quot; nor &quot;source_base64&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; wants a whole number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 placed again: this line replaces line %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is no source of this run</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
