<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
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
</context>
<context>
    <name>kadrix-batch</name>
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
        <source>cannot create the folder %1</source>
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
        <source>%1: cannot read the list %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, shard %1/%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 planned, %2 skipped, %3 failed (%4 sources, %5 ms, %6 ms per source, %7 jobs%8)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 framed, %2 skipped, %3 failed (%4 sources, %5 ms, %6 ms per source, %7 jobs%8)</source>
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
        <source>cannot keep standard input: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
