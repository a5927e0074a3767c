<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
</context>
<context>
    <name>kadrix-batch</name>
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
        <source>cannot create the folder %1</source>
        <translation>impossible de créer le dossier %1</translation>
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
        <source>%1: cannot read the list %2</source>
        <translation>%1 : impossible de lire la liste %2</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>fichier ou dossier introuvable</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Essayez « %1 --help » pour plus d&apos;informations.</translation>
    </message>
    <message>
        <source>, shard %1/%2</source>
        <translation>, part %1/%2</translation>
    </message>
    <message>
        <source>%1 planned, %2 skipped, %3 failed (%4 sources, %5 ms, %6 ms per source, %7 jobs%8)</source>
        <translation>%1 prévues, %2 ignorées, %3 en échec (%4 sources, %5 ms, %6 ms par source, %7 tâches%8)</translation>
    </message>
    <message>
        <source>%1 framed, %2 skipped, %3 failed (%4 sources, %5 ms, %6 ms per source, %7 jobs%8)</source>
        <translation>%1 cadrées, %2 ignorées, %3 en échec (%4 sources, %5 ms, %6 ms par source, %7 tâches%8)</translation>
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
        <source>cannot keep standard input: %1</source>
        <translation>impossible de garder l&apos;entrée standard : %1</translation>
    </message>
</context>
</TS>
