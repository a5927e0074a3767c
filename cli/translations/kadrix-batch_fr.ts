<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Utilisation : %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[options]</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Options :</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Arguments :</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Option inconnue « %1 ».</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Options inconnues : %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Valeur manquante après « %1 ».</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Valeur inattendue après « %1 ».</translation>
    </message>
</context>
<context>
    <name>kadrix</name>
    <message>
        <source>Image trop grande: %1 * %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mémoire insuffisante pour une image de %1 * %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extension de fichier image inconnue (.%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: données illisibles ou endommagées</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erreur de lecture de %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: mémoire insuffisante</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: pas un fichier ordinaire (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossible d&apos;ouvrir %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier trop grand (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taille finale invalide: %1 * %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erreur de lecture du flux: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erreur d&apos;écriture de l&apos;image JPEG: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossible de créer %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erreur d&apos;écriture de %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: plus de %1 passes dans le fichier JPEG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF tronqué (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF endommagé (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: pas un fichier HEIF (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: format de compression non pris en charge (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fonction HEIF non prise en charge (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: image trop grande (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: mémoire insuffisante (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: données d&apos;image illisibles (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF illisible (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF tronqué (le fichier a raccourci)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: image vide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: pas un fichier HEIF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: taille nulle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: image trop grande (%1 * %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: aucune image chargée</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 boîtes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 éléments)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 morceaux pour un élément)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 références)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 associations)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF trop complexe (plus de %1 propriétés)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF endommagé (une tuile manquante)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image invalide: fichier HEIF endommagé (une tuile sans taille)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kadrix-batch</name>
    <message>
        <source>the destination is full</source>
        <translation>la destination est pleine</translation>
    </message>
    <message>
        <source>the file size limit is reached</source>
        <translation>la taille limite des fichiers est atteinte</translation>
    </message>
    <message>
        <source>the destination folder is gone</source>
        <translation>le dossier de destination a disparu</translation>
    </message>
    <message>
        <source>the destination cannot be written: %1</source>
        <translation>la destination ne peut être écrite : %1</translation>
    </message>
    <message>
        <source>%1: skipped, %2: %3</source>
        <translation>%1 : ignoré, %2 : %3</translation>
    </message>
    <message>
        <source>the result exists</source>
        <translation>le résultat existe</translation>
    </message>
    <message>
        <source>cannot replace %1</source>
        <translation>impossible de remplacer %1</translation>
    </message>
    <message>
        <source>not enough memory: the picture needs %1 MB, more than the %2 MB a run may hold</source>
        <translation>mémoire insuffisante : l&apos;image demande %1 Mo, plus que les %2 Mo permis à une exécution</translation>
    </message>
    <message>
        <source>empty picture</source>
        <translation>image vide</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>impossible de créer le dossier %1 : %2</translation>
    </message>
    <message>
        <source>not enough memory</source>
        <translation>mémoire insuffisante</translation>
    </message>
    <message>
        <source>%1: skipped, %2: its result %3 is written for %4</source>
        <translation>%1 : ignoré, %2 : son résultat %3 est écrit pour %4</translation>
    </message>
    <message>
        <source>the result is written for %1</source>
        <translation>le résultat est écrit pour %1</translation>
    </message>
    <message>
        <source>not started: %1</source>
        <translation>non commencée : %1</translation>
    </message>
    <message>
        <source>stopped, %1: 1 picture not framed</source>
        <translation>arrêt, %1 : 1 image non cadrée</translation>
    </message>
    <message>
        <source>stopped, %1: %2 pictures not framed</source>
        <translation>arrêt, %1 : %2 images non cadrées</translation>
    </message>
    <message>
        <source>--out is inside the source folder %1, which --recursive walks: its results would become sources of the next run</source>
        <translation>--out est dans le dossier source %1, que --recursive parcourt : ses résultats deviendraient des sources de l&apos;exécution suivante</translation>
    </message>
    <message>
        <source>%1: cannot read the list %2</source>
        <translation>%1 : impossible de lire la liste %2</translation>
    </message>
    <message>
        <source>--recursive walks into --out through %1: its results would become sources of the next run</source>
        <translation>--recursive entre dans --out par %1 : ses résultats deviendraient des sources de l&apos;exécution suivante</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>fichier ou dossier introuvable</translation>
    </message>
    <message>
        <source>%1: cannot read the placements %2</source>
        <translation>%1 : impossible de lire les placements %2</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Essayez « %1 --help » pour plus d&apos;informations.</translation>
    </message>
    <message>
        <source>the result would go to a terminal; use --force to write it there</source>
        <translation>le résultat irait sur un terminal ; --force l&apos;y écrit quand même</translation>
    </message>
    <message>
        <source>%1: cannot keep the result in %2: %3</source>
        <translation>%1 : impossible de garder le résultat dans %2 : %3</translation>
    </message>
    <message>
        <source>1 source</source>
        <translation>1 source</translation>
    </message>
    <message>
        <source>%1 sources</source>
        <translation>%1 sources</translation>
    </message>
    <message>
        <source>1 job</source>
        <translation>1 tâche</translation>
    </message>
    <message>
        <source>%1 jobs</source>
        <translation>%1 tâches</translation>
    </message>
    <message>
        <source>, shard %1/%2</source>
        <translation>, part %1/%2</translation>
    </message>
    <message>
        <source>%1 planned, %2 skipped, %3 failed (%4, %5 ms, %6 ms per source, %7%8)</source>
        <translation>%1 prévues, %2 ignorées, %3 en échec (%4, %5 ms, %6 ms par source, %7%8)</translation>
    </message>
    <message>
        <source>%1 framed, %2 skipped, %3 failed (%4, %5 ms, %6 ms per source, %7%8)</source>
        <translation>%1 cadrées, %2 ignorées, %3 en échec (%4, %5 ms, %6 ms par source, %7%8)</translation>
    </message>
    <message>
        <source>; stopped by %1, %2 not started</source>
        <translation> ; arrêt par %1, %2 non commencées</translation>
    </message>
    <message>
        <source>%1: cannot write to standard output: %2</source>
        <translation>%1 : impossible d&apos;écrire sur la sortie standard : %2</translation>
    </message>
    <message>
        <source>cannot read standard input</source>
        <translation>impossible de lire l&apos;entrée standard</translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation>impossible de lire l&apos;entrée standard : %1</translation>
    </message>
    <message>
        <source>more than %1 bytes</source>
        <translation>plus de %1 octets</translation>
    </message>
    <message>
        <source>not a picture</source>
        <translation>pas une image</translation>
    </message>
    <message>
        <source>cannot keep standard input in %1: %2</source>
        <translation>impossible de garder l&apos;entrée standard dans %1 : %2</translation>
    </message>
    <message>
        <source>cannot keep standard input: %1</source>
        <translation>impossible de garder l&apos;entrée standard : %1</translation>
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
        <translation>Cadre des images à une taille fixe, comme le fait &quot;GO&quot; de Kadrix : chaque source est
centrée sur un fond de la couleur de --wipe, rognée symétriquement là où elle est plus
grande (un pixel impair restant va à droite ou en bas), jamais mise à l&apos;échelle ; --gravity
l&apos;ancre ailleurs et --fill remplit autrement les marges. Les résultats sont nommés selon le
schéma de renommage : préfixe, nom de la source jusqu&apos;à son premier &quot;.&quot;, suffixe, numéro
d&apos;ordre et extension (.BMP, .JPEG, .PNG, .TIFF ou .WEBP).

Les résultats JPEG de sources JPEG gardent le profil de couleur de la source et son bloc
EXIF (sans la vignette, avec la taille du résultat) ; les résultats PNG, TIFF et WebP
gardent le profil de couleur. Les blocs XMP et IPTC ne sont jamais copiés. --strip retire
les deux.

Les sources sont des fichiers et des dossiers, dans l&apos;ordre des arguments, puis celles de
--files-from, formant une seule liste dont les positions numérotent les résultats. Un
dossier apporte ses fichiers (avec --recursive, puis ceux de ses sous-dossiers) dont
l&apos;extension est celle d&apos;un des types d&apos;image, triés par nom, chacun sous ses propres octets
(des noms qui ne diffèrent que par la casse sont deux sources). Parmi des sources donnant le
même résultat (sur une destination qui ignore la casse, A.jpg et a.jpg n&apos;en font qu&apos;un), la
première de la liste l&apos;écrit, les autres sont ignorées.

Un résultat existant est ignoré et signalé, sauf avec --overwrite. Une source illisible est
signalée et les autres continuent. Une destination pleine, en lecture seule, fermée ou
disparue arrête l&apos;exécution : aucune nouvelle image n&apos;est commencée, et celles qui ne
sont pas cadrées comptent comme en échec.
Code de sortie : 0 quand chaque source a été cadrée ou ignorée, 1 quand l&apos;une a échoué,
2 pour des arguments erronés, 130 ou 143 quand SIGINT ou SIGTERM a arrêté l&apos;exécution (les
images en cours sont d&apos;abord terminées ; un second signal l&apos;arrête aussitôt). Les messages
sont en anglais, en français sous une locale française ; les lignes JSON en anglais.</translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Affiche cette aide et quitte.</translation>
    </message>
    <message>
        <source>Result size, width x height (default 640x480), or a ratio W:H (16:9, 1:1): each result then gets its own size, the largest box of that ratio inside its picture (see --ratio).</source>
        <translation>Taille du résultat, largeur x hauteur (par défaut 640x480), ou un rapport W:H (16:9, 1:1) : chaque résultat a alors sa propre taille, la plus grande boîte de ce rapport dans son image (voir --ratio).</translation>
    </message>
    <message>
        <source>With --size W:H: crop (default) keeps the largest box of the ratio inside each picture; pad makes the smallest box of the ratio that holds the whole picture, its margins filled as --fill says. Nothing is scaled.</source>
        <translation>Avec --size W:H : crop (par défaut) garde la plus grande boîte du rapport dans chaque image ; pad fait la plus petite boîte du rapport qui contient toute l&apos;image, ses marges remplies comme le dit --fill. Rien n&apos;est mis à l&apos;échelle.</translation>
    </message>
    <message>
        <source>Colour of the margins: a name (white), #RGB or #RRGGBB (default #000000).</source>
        <translation>Couleur des marges : un nom (white), #RGB ou #RRGGBB (par défaut #000000).</translation>
    </message>
    <message>
        <source>Folder of every result, created when missing (default: the folder &quot;cropped&quot; beside each source).</source>
        <translation>Dossier de tous les résultats, créé s&apos;il manque (par défaut : le dossier &quot;cropped&quot; à côté de chaque source).</translation>
    </message>
    <message>
        <source>Result format: bmp (24-bit, default), jpeg, png (lossless), tiff (lossless) or webp.</source>
        <translation>Format du résultat : bmp (24 bits, par défaut), jpeg, png (sans perte), tiff (sans perte) ou webp.</translation>
    </message>
    <message>
        <source>Prints which picture formats this installation reads and writes, and exits.</source>
        <translation>Affiche les formats d&apos;image que cette installation lit et écrit, et quitte.</translation>
    </message>
    <message>
        <source>PNG compression level, 0 (none, fastest) to 9 (smallest, slowest); lossless at every level (default 6).</source>
        <translation>Niveau de compression PNG, de 0 (aucune, le plus rapide) à 9 (le plus petit, le plus lent) ; sans perte à tous les niveaux (par défaut 6).</translation>
    </message>
    <message>
        <source>TIFF compression: lzw (lossless, default) or none. deflate is refused: Qt&apos;s TIFF writer does not offer it.</source>
        <translation>Compression TIFF : lzw (sans perte, par défaut) ou none. deflate est refusé, le module d&apos;écriture TIFF de Qt ne le proposant pas.</translation>
    </message>
    <message>
        <source>WebP quality, 0 to 100; 100 is lossless (default 95).</source>
        <translation>Qualité WebP, de 0 à 100 ; 100 est sans perte (par défaut 95).</translation>
    </message>
    <message>
        <source>Leaves the sources&apos; EXIF blocks and colour profiles out of the results.</source>
        <translation>Laisse les blocs EXIF et les profils de couleur des sources hors des résultats.</translation>
    </message>
    <message>
        <source>JPEG quality, 5 to 95 (default 95).</source>
        <translation>Qualité JPEG, de 5 à 95 (par défaut 95).</translation>
    </message>
    <message>
        <source>Writes progressive JPEG files.</source>
        <translation>Écrit des fichiers JPEG progressifs.</translation>
    </message>
    <message>
        <source>Grey levels only: JPEG sources are decoded and JPEG results encoded in grey, as with the options dialog&apos;s &quot;Grey levels only&quot;.</source>
        <translation>Niveaux de gris seulement : les sources JPEG sont décodées et les résultats JPEG encodés en gris, comme avec &quot;Grey levels only&quot; de la boîte de dialogue des options.</translation>
    </message>
    <message>
        <source>Keeps the JPEG encoder&apos;s chroma sub-sampling (2x2) instead of encoding every component at full resolution.</source>
        <translation>Garde le sous-échantillonnage de la chrominance (2x2) de l&apos;encodeur JPEG au lieu d&apos;encoder chaque composante en pleine résolution.</translation>
    </message>
    <message>
        <source>Frames JPEG sources as they are stored, ignoring their EXIF orientation (by default a photo is turned upright first).</source>
        <translation>Cadre les sources JPEG telles qu&apos;elles sont enregistrées, sans tenir compte de leur orientation EXIF (par défaut une photo est d&apos;abord redressée).</translation>
    </message>
    <message>
        <source>Text before each result name (default cropped_; &quot;&quot; for none).</source>
        <translation>Texte avant chaque nom de résultat (par défaut cropped_ ; &quot;&quot; pour aucun).</translation>
    </message>
    <message>
        <source>Leaves the source&apos;s name out of the result name.</source>
        <translation>Omet le nom de la source dans le nom du résultat.</translation>
    </message>
    <message>
        <source>Text after the source&apos;s name.</source>
        <translation>Texte après le nom de la source.</translation>
    </message>
    <message>
        <source>Adds a running number of DIGITS digits (with leading zeros), the first source getting START (default 1) and each next one more.</source>
        <translation>Ajoute un numéro d&apos;ordre de DIGITS chiffres (complété par des zéros à gauche), la première source recevant START (par défaut 1) et chaque suivante un de plus.</translation>
    </message>
    <message>
        <source>Pictures framed at once (default: every core, here %1).</source>
        <translation>Nombre d&apos;images cadrées à la fois (par défaut : autant que de cœurs, ici %1).</translation>
    </message>
    <message>
        <source>Writes nothing: prints each source&apos;s size, the columns and rows cropped or padded on each side, where a source of --placements is placed, the result path and whether it exists.</source>
        <translation>N&apos;écrit rien : affiche la taille de chaque source, les colonnes et les lignes rognées ou ajoutées de chaque côté, où une source de --placements est placée, le chemin du résultat et s&apos;il existe.</translation>
    </message>
    <message>
        <source>Replaces existing results.</source>
        <translation>Remplace les résultats existants.</translation>
    </message>
    <message>
        <source>How JPEG sources are decoded; the results are the same: whole, the whole picture; window, only the part that lands on the result, reading the rows from the top; seek (default), as window, but files with restart markers are entered at the marker just above that part.</source>
        <translation>Comment les sources JPEG sont décodées (les résultats sont les mêmes) : whole, l&apos;image entière ; window, seulement la partie qui tombe sur le résultat, en lisant les lignes depuis le haut ; seek (par défaut), comme window, mais les fichiers à marqueurs de redémarrage sont abordés au marqueur juste au-dessus de cette partie.</translation>
    </message>
    <message>
        <source>Picture files and folders; - reads one picture from standard input. -- ends the options: what follows is a source even if it starts with -.</source>
        <translation>Fichiers d&apos;image et dossiers ; - lit une image sur l&apos;entrée standard. -- termine les options : ce qui suit est une source même s&apos;il commence par -.</translation>
    </message>
    <message>
        <source>--size wants WxH (a size) or W:H (a ratio, such as 16:9), each term a whole number from 1 to %1: &quot;%2&quot;</source>
        <translation>--size demande WxH (une taille) ou W:H (un rapport, comme 16:9), chaque terme un nombre entier de 1 à %1 : &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--format %1, but --output %2 names a %3 file</source>
        <translation>--format %1, mais --output %2 nomme un fichier %3</translation>
    </message>
    <message>
        <source>Reads more sources from FILE (&quot;-&quot;: standard input), one path a line, after the argument sources.</source>
        <translation>Lit d&apos;autres sources dans FILE (&quot;-&quot; : l&apos;entrée standard), un chemin par ligne, après les sources données en arguments.</translation>
    </message>
    <message>
        <source>The --files-from list separates paths by NUL, as find -print0 writes them.</source>
        <translation>La liste de --files-from sépare les chemins par NUL, comme les écrit find -print0.</translation>
    </message>
    <message>
        <source>Frames only share K of N (K from 0): the sources whose position in the whole list leaves K divided by N, numbered as in the whole run. auto takes K and N from a Slurm, Kubernetes or AWS Batch array task.</source>
        <translation>Ne cadre que la part K sur N (K à partir de 0) : les sources dont la position dans la liste entière, divisée par N, laisse un reste de K, numérotées comme dans l&apos;exécution entière. auto prend K et N d&apos;une tâche de tableau Slurm, Kubernetes ou AWS Batch.</translation>
    </message>
    <message>
        <source>With --shard auto: the count of tasks (a Kubernetes Job&apos;s completions; else read from KADRIX_SHARD_COUNT).</source>
        <translation>Avec --shard auto : le nombre de tâches (les completions d&apos;un Job Kubernetes ; sinon lu dans KADRIX_SHARD_COUNT).</translation>
    </message>
    <message>
        <source>Writes one JSON object a line per source on standard output, the summary on standard error.</source>
        <translation>Écrit un objet JSON par ligne pour chaque source sur la sortie standard, le bilan sur la sortie d&apos;erreur standard.</translation>
    </message>
    <message>
        <source>Frames the sources FILE (&quot;-&quot;: standard input) names where it says: JSON lines with &quot;source&quot; (as the run names it) or &quot;source_base64&quot;, and &quot;x&quot;, &quot;y&quot;, the result&apos;s top-left corner in the upright picture, as --json writes them. Others are placed by --gravity.</source>
        <translation>Cadre les sources que FILE (&quot;-&quot; : l&apos;entrée standard) nomme là où il le dit : des lignes JSON avec &quot;source&quot; (telle que l&apos;exécution la nomme) ou &quot;source_base64&quot;, et &quot;x&quot;, &quot;y&quot;, le coin supérieur gauche du résultat dans l&apos;image redressée, comme --json les écrit. Les autres sont placées par --gravity.</translation>
    </message>
    <message>
        <source>What the pictures in hand may hold together, in bytes or with K, M, G or T (default: half of the smallest of the physical memory, the control group&apos;s limit and the process&apos;s RLIMIT_AS and RLIMIT_DATA).</source>
        <translation>Ce que les images en cours peuvent occuper ensemble, en octets ou avec K, M, G ou T (par défaut : la moitié du plus petit de la mémoire physique, de la limite du groupe de contrôle et des RLIMIT_AS et RLIMIT_DATA du processus).</translation>
    </message>
    <message>
        <source>Takes the sub-folders of folders too (never &quot;cropped&quot; folders), mirroring them under --out; an --out the walk would enter is refused.</source>
        <translation>Prend aussi les sous-dossiers des dossiers (jamais les dossiers &quot;cropped&quot;), en les reproduisant sous --out ; un --out dans lequel le parcours entrerait est refusé.</translation>
    </message>
    <message>
        <source>Where the result sits on the picture: centre (default), north, north-east, east, south-east, south, south-west, west or north-west (ImageMagick&apos;s NorthEast, Center... too). A larger picture keeps that side, a smaller one sits against it. subject (or attention): where the picture&apos;s interest (edges, colour, skin) lies.</source>
        <translation>Où le résultat se place sur l&apos;image : centre (par défaut), north, north-east, east, south-east, south, south-west, west ou north-west (NorthEast, Center... d&apos;ImageMagick aussi). Une image plus grande garde ce côté, une plus petite s&apos;y appuie. subject (ou attention) : là où se trouve l&apos;intérêt de l&apos;image (contours, couleur, peau).</translation>
    </message>
    <message>
        <source>What fills the margins: colour (the wipe colour, default), edge (the picture&apos;s outermost pixels repeated), mirror (the picture reflected at its edges) or blur (the picture scaled to cover the result and blurred).</source>
        <translation>Ce qui remplit les marges : colour (la couleur de --wipe, par défaut), edge (les pixels du bord de l&apos;image répétés), mirror (l&apos;image reflétée à ses bords) ou blur (l&apos;image mise à l&apos;échelle pour couvrir le résultat, puis floutée).</translation>
    </message>
    <message>
        <source>Gives each result its source&apos;s modification time.</source>
        <translation>Donne à chaque résultat la date de modification de sa source.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Affiche la version et quitte.</translation>
    </message>
    <message>
        <source>Says nothing but errors.</source>
        <translation>N&apos;affiche que les erreurs.</translation>
    </message>
    <message>
        <source>Says a line for each picture framed.</source>
        <translation>Affiche une ligne pour chaque image cadrée.</translation>
    </message>
    <message>
        <source>A one-line progress display on standard error (count, rate, time left): auto (default) shows it on a terminal, never with --json or --quiet.</source>
        <translation>Une ligne de progression sur la sortie d&apos;erreur standard (nombre, débit, temps restant) : auto (par défaut) l&apos;affiche sur un terminal, jamais avec --json ou --quiet.</translation>
    </message>
    <message>
        <source>Writes a result to standard output even when it is a terminal.</source>
        <translation>Écrit un résultat sur la sortie standard même quand c&apos;est un terminal.</translation>
    </message>
    <message>
        <source>The path of the one result of a single source file; - (or /dev/stdout) writes it to standard output in the --format, /dev/stderr to standard error. A device, a FIFO or a socket is written into, never replaced. A source - is read from standard input.</source>
        <translation>Le chemin de l&apos;unique résultat d&apos;un seul fichier source ; - (ou /dev/stdout) l&apos;écrit sur la sortie standard dans le --format, /dev/stderr sur l&apos;erreur standard. Un périphérique, une FIFO ou une socket reçoit le résultat, sans jamais être remplacé. Une source - est lue sur l&apos;entrée standard.</translation>
    </message>
    <message>
        <source>a picture from standard input (-) wants --output or --out</source>
        <translation>une image lue sur l&apos;entrée standard (-) demande --output ou --out</translation>
    </message>
    <message>
        <source>--out is the source folder %1: its results would become sources of the next run</source>
        <translation>--out est le dossier source %1 : ses résultats deviendraient des sources de l&apos;exécution suivante</translation>
    </message>
    <message>
        <source>--output names a file, not the folder %1</source>
        <translation>--output désigne un fichier, pas le dossier %1</translation>
    </message>
    <message>
        <source>--output names the result of a single file, not of the folder %1</source>
        <translation>--output désigne le résultat d&apos;un seul fichier, pas celui du dossier %1</translation>
    </message>
    <message>
        <source>--size wants WxH, each side 1 to %1: &quot;%2&quot;</source>
        <translation>--size demande WxH, chaque côté de 1 à %1 : &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--ratio wants crop or pad: &quot;%1&quot;</source>
        <translation>--ratio demande crop ou pad : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--ratio goes with a ratio size, --size W:H (such as 16:9)</source>
        <translation>--ratio va avec une taille en rapport, --size W:H (comme 16:9)</translation>
    </message>
    <message>
        <source>--wipe wants a colour name (white, darkgrey), #RGB or #RRGGBB: &quot;%1&quot;</source>
        <translation>--wipe demande un nom de couleur (white, darkgrey), #RGB ou #RRGGBB : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--out wants a folder</source>
        <translation>--out demande un dossier</translation>
    </message>
    <message>
        <source>--format wants %1: &quot;%2&quot;</source>
        <translation>--format demande %1 : &quot;%2&quot;</translation>
    </message>
    <message>
        <source> or </source>
        <comment>before the last of a list of values</comment>
        <translation> ou </translation>
    </message>
    <message>
        <source>--quality wants %1 to %2: &quot;%3&quot;</source>
        <translation>--quality demande de %1 à %2 : &quot;%3&quot;</translation>
    </message>
    <message>
        <source>--png-level wants 0 to 9: &quot;%1&quot;</source>
        <translation>--png-level demande de 0 à 9 : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--tiff-compression deflate: Qt&apos;s TIFF writer offers only lzw and none</source>
        <translation>--tiff-compression deflate : le module d&apos;écriture TIFF de Qt ne propose que lzw et none</translation>
    </message>
    <message>
        <source>--tiff-compression wants lzw or none: &quot;%1&quot;</source>
        <translation>--tiff-compression demande lzw ou none : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--webp-quality wants 0 to 100: &quot;%1&quot;</source>
        <translation>--webp-quality demande de 0 à 100 : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--prefix and --suffix name no folder: &quot;%1&quot; holds a &quot;/&quot;</source>
        <translation>--prefix et --suffix ne nomment aucun dossier : « %1 » contient un « / »</translation>
    </message>
    <message>
        <source>--number wants DIGITS[:START], DIGITS 1 to %1: &quot;%2&quot;</source>
        <translation>--number demande DIGITS[:START], DIGITS de 1 à %1 : &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--jobs wants 1 to 256: &quot;%1&quot;</source>
        <translation>--jobs demande de 1 à 256 : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--decode wants whole, window or seek: &quot;%1&quot;</source>
        <translation>--decode demande whole, window ou seek : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>no source given</source>
        <translation>aucune source donnée</translation>
    </message>
    <message>
        <source>--files-from wants a file, or - for standard input</source>
        <translation>--files-from demande un fichier, ou - pour l&apos;entrée standard</translation>
    </message>
    <message>
        <source>--null goes with --files-from</source>
        <translation>--null s&apos;emploie avec --files-from</translation>
    </message>
    <message>
        <source>--shard wants K/N with K from 0 to N-1, or auto: &quot;%1&quot;</source>
        <translation>--shard demande K/N avec K de 0 à N-1, ou auto : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--shard-count goes with --shard auto</source>
        <translation>--shard-count s&apos;emploie avec --shard auto</translation>
    </message>
    <message>
        <source>--shard-count wants a count from 1: &quot;%1&quot;</source>
        <translation>--shard-count demande un nombre à partir de 1 : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--json and --dry-run do not go together</source>
        <translation>--json et --dry-run ne vont pas ensemble</translation>
    </message>
    <message>
        <source>--placements wants a file, or - for standard input</source>
        <translation>--placements attend un fichier, ou - pour l&apos;entrée standard</translation>
    </message>
    <message>
        <source>--memory wants a size such as 512M or 4G: &quot;%1&quot;</source>
        <translation>--memory demande une taille comme 512M ou 4G : « %1 »</translation>
    </message>
    <message>
        <source>standard input (-) can be read only once</source>
        <translation>l&apos;entrée standard (-) ne peut être lue qu&apos;une fois</translation>
    </message>
    <message>
        <source>--gravity wants %1: &quot;%2&quot;</source>
        <translation>--gravity demande %1 : &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--fill wants %1: &quot;%2&quot;</source>
        <translation>--fill demande %1 : &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--quiet and --verbose do not go together</source>
        <translation>--quiet et --verbose ne vont pas ensemble</translation>
    </message>
    <message>
        <source>--progress wants auto, always or never: &quot;%1&quot;</source>
        <translation>--progress demande auto, always ou never : &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--output names the one result of a single source; it is given %1 times</source>
        <translation>--output désigne l&apos;unique résultat d&apos;une seule source ; il est donné %1 fois</translation>
    </message>
    <message>
        <source>--output wants a file, or - for standard output</source>
        <translation>--output demande un fichier, ou - pour la sortie standard</translation>
    </message>
    <message>
        <source>--output names the one result of a single source</source>
        <translation>--output désigne l&apos;unique résultat d&apos;une seule source</translation>
    </message>
    <message>
        <source>--json and --output - both want standard output</source>
        <translation>--json et --output - veulent tous deux la sortie standard</translation>
    </message>
    <message>
        <source>--output goes with neither --recursive nor --shard</source>
        <translation>--output ne s&apos;emploie ni avec --recursive ni avec --shard</translation>
    </message>
    <message>
        <source>%1: the task index &quot;%2&quot; is not a number</source>
        <translation>%1 : l&apos;indice de tâche &quot;%2&quot; n&apos;est pas un nombre</translation>
    </message>
    <message>
        <source>%1: the count of tasks is not known</source>
        <translation>%1 : le nombre de tâches est inconnu</translation>
    </message>
    <message>
        <source>%1: task %2 lies outside 0 to %3</source>
        <translation>%1 : la tâche %2 sort de l&apos;intervalle de 0 à %3</translation>
    </message>
    <message>
        <source>%1: the array&apos;s step (SLURM_ARRAY_TASK_STEP) must be 1, as with --array=0-N-1</source>
        <translation>%1 : le pas du tableau (SLURM_ARRAY_TASK_STEP) doit être 1, comme avec --array=0-N-1</translation>
    </message>
    <message>
        <source>%1: SLURM_ARRAY_TASK_MIN is not set</source>
        <translation>%1 : SLURM_ARRAY_TASK_MIN n&apos;est pas défini</translation>
    </message>
    <message>
        <source>%1: --shard-count differs from the array&apos;s SLURM_ARRAY_TASK_COUNT</source>
        <translation>%1 : --shard-count diffère du SLURM_ARRAY_TASK_COUNT du tableau</translation>
    </message>
    <message>
        <source>%1: %2 wants a count from 1: &quot;%3&quot;</source>
        <translation>%1 : %2 demande un nombre à partir de 1 : &quot;%3&quot;</translation>
    </message>
    <message>
        <source>%1: give the Job&apos;s completions with --shard-count or %2</source>
        <translation>%1 : donnez le nombre de complétions du Job avec --shard-count ou %2</translation>
    </message>
    <message>
        <source>%1: --shard-count differs from the array&apos;s AWS_BATCH_JOB_ARRAY_SIZE</source>
        <translation>%1 : --shard-count diffère du AWS_BATCH_JOB_ARRAY_SIZE du tableau</translation>
    </message>
    <message>
        <source>--shard auto: no task index found (SLURM_ARRAY_TASK_ID, JOB_COMPLETION_INDEX or AWS_BATCH_JOB_ARRAY_INDEX); outside a job array give --shard K/N</source>
        <translation>--shard auto : aucun indice de tâche trouvé (SLURM_ARRAY_TASK_ID, JOB_COMPLETION_INDEX ou AWS_BATCH_JOB_ARRAY_INDEX) ; hors d&apos;un tableau de tâches, donnez --shard K/N</translation>
    </message>
    <message>
        <source>not valid JSON: %1</source>
        <translation>JSON non valide : %1</translation>
    </message>
    <message>
        <source>not a JSON object</source>
        <translation>pas un objet JSON</translation>
    </message>
    <message>
        <source>&quot;source_base64&quot; is not base 64</source>
        <translation>&quot;source_base64&quot; n&apos;est pas en base 64</translation>
    </message>
    <message>
        <source>no &quot;source&quot; nor &quot;source_base64&quot;</source>
        <translation>ni &quot;source&quot; ni &quot;source_base64&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; wants a whole number</source>
        <translation>&quot;%1&quot; attend un nombre entier</translation>
    </message>
    <message>
        <source>%1 placed again: this line replaces line %2</source>
        <translation>%1 placée à nouveau : cette ligne remplace la ligne %2</translation>
    </message>
    <message>
        <source>%1 is no source of this run</source>
        <translation>%1 n&apos;est pas une source de cette exécution</translation>
    </message>
</context>
</TS>
