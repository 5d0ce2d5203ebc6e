#!/usr/bin/env python3
"""The viewer's benchmark figures, each against its baseline measured in the same run.

  medir.py demo PROGRAM_DIR BENCH_DIR [REPS]    (a) whole report to PDF on the demo database:
        process start to file written, against the bare fetch of the same query
  medir.py grande PROGRAM_DIR BENCH_DIR [REPS] [SIZE]  (b) the database (SIZE: its name in the
        table, "benchmark" unless told) to PDF under -Xmx512m:
        lines/s, pages/s, peak resident memory, against the slower of the bare fetch and bare
        PDFBox placement of as many pages (under the same heap, or 3 GB where they need more; the
        viewer fetches and lays out at once, so the slower of the two is the least it can take)

  medir.py previa SIZE PROGRAM_DIR BENCH_DIR [REPS]  (c) the preview (VIS) under -Xmx256m, on a
        display (run it under Xvfb): first page painted, from the first line the layout gets
        and from process start, against the bare fetch's process start to its first row; with
        --inteira also the whole report previewed (start to its last page painted, peak memory)

  medir.py busca PROGRAM_DIR BENCH_DIR [REPS]  (d) the preview's search on the whole report laid
        out as the preview does (no window), under -Xmx256m: F3 and Shift+F3 to a hit on page 3,502,
        round the whole report and "not found", against the bare scan of the pages' recorded text
        and the PDF text read page by page as the search did before (timed on 200 pages)

The viewer runs as the package installs it (see instalado). The database is the [Zarvent] service
of PGSERVICEFILE. Runs are interleaved; medians.
"""
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

LIBS = ["postgresql", "pdfbox2", "fontbox2", "commons-logging", "poi", "commons-collections4",
        "commons-math3", "commons-codec"]


HEAP_BASE = set()  # the heaps the bare PDFBox pages ran with
CPU = {}  # seconds of processor (user + system) of each run, by program


def pico_kb(pid):
    """The process's peak resident memory so far (VmHWM), in KB; 0 once it is gone."""
    try:
        with open("/proc/%d/status" % pid) as f:
            for linha in f:
                if linha.startswith("VmHWM:"):
                    return int(linha.split()[1])
    except OSError:
        pass
    return 0


def executa(cmd, env, pode_falhar=False):
    """Wall seconds, peak resident MB (the process's own high-water mark) and standard output;
    None when the command fails and may."""
    inicio = time.perf_counter()
    with tempfile.TemporaryFile("w+") as saida:
        proc = subprocess.Popen(cmd, env=env, stdout=saida, stderr=subprocess.DEVNULL)
        pico = 0
        while True:
            # wait4 gives the processor time too: on a shared machine wall times swing with the load.
            pid, status, uso = os.wait4(proc.pid, os.WNOHANG)
            if pid:
                proc.returncode = os.waitstatus_to_exitcode(status)
                nome = next((a for a in cmd if a in ("BuscaCrua", "PaginasCruas")), "visualizador")
                CPU.setdefault(nome, []).append(uso.ru_utime + uso.ru_stime)
                break
            pico = max(pico, pico_kb(proc.pid))
            time.sleep(0.02)
        segundos = time.perf_counter() - inicio
        if proc.returncode != 0 and pode_falhar:
            return None
        if proc.returncode != 0:
            raise SystemExit("%s failed with status %d" % (" ".join(cmd), proc.returncode))
        saida.seek(0)
        return segundos, pico / 1024, saida.read()


def marcas(cmd, env):
    """Runs cmd; the "zv-medida NAME EPOCH_MS" lines it writes to standard error, in seconds since
    its start, and its peak resident MB."""
    inicio = time.time()
    with tempfile.TemporaryFile("w+") as erros:
        proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=erros)
        pico = 0
        while proc.poll() is None:
            pico = max(pico, pico_kb(proc.pid))
            time.sleep(0.02)
        erros.seek(0)
        texto = erros.read()
    if proc.returncode != 0:
        raise SystemExit("%s failed with status %d:\n%s" % (" ".join(cmd), proc.returncode, texto))
    m = {}
    for linha in texto.splitlines():
        partes = linha.split()
        if len(partes) == 3 and partes[0] == "zv-medida":
            m[partes[1]] = float(partes[2]) / 1000 - inicio
    return m, pico / 1024


def instalado(programa, tmp):
    """The viewer laid out as the package installs it, in tmp: its jar naming the libraries relative
    to itself (scripts/jar_relativo.sh), and its class-data archive made there, as postinst does,
    which then holds the libraries' classes too. Returns that program folder."""
    pasta = os.path.join(tmp, "usr", "lib", "relenderecamento")
    os.makedirs(pasta)
    raiz = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    subprocess.run(["bash", os.path.join(raiz, "scripts", "jar_relativo.sh"), os.path.join(programa, "jasperviewer.jar"),
                    os.path.join(pasta, "jasperviewer.jar"), pasta], check=True)
    os.symlink(os.path.join(programa, "relatorios"), os.path.join(pasta, "relatorios"))
    subprocess.run(["java", "-Xshare:auto", "-Xlog:cds=off,cds+dynamic=off",
                    "-XX:ArchiveClassesAtExit=" + os.path.join(pasta, "visualizador.jsa"),
                    "-cp", os.path.join(pasta, "jasperviewer.jar"), "visualizador.ClassesDaPrevia"],
                   check=True, stdout=subprocess.DEVNULL)
    return pasta


def com_arquivo(programa, env):
    """The viewer's environment as the launcher gives it: its class-data archive, when the build
    made one, after the options already in JDK_JAVA_OPTIONS. The baselines run without it."""
    arquivo = os.path.join(programa, "visualizador.jsa")
    if not os.path.isfile(arquivo):
        print("(no class-data archive in %s)" % programa)
        return env
    opcoes = (env.get("JDK_JAVA_OPTIONS", "") + " -XX:SharedArchiveFile=" + arquivo
              + " -Xlog:cds=off,cds+dynamic=off").strip()
    return dict(env, JDK_JAVA_OPTIONS=opcoes)


def previa(tamanho, programa, bench, reps, inteira):
    with tempfile.TemporaryDirectory() as tmp:
        previa_instalada(tamanho, programa, instalado(programa, tmp), bench, reps, inteira)


def previa_instalada(tamanho, programa, vis_programa, bench, reps, inteira):
    relatorio = os.path.join(programa, "relatorios", "zv_relacao_produto_enderecamento")
    cp = ":".join([os.path.join(bench, "zvbench_visualizador.jar"), os.path.join(programa, "jasperviewer.jar")]
                  + ["/usr/share/java/%s.jar" % l for l in LIBS])
    heap = ["-Xmx256m"]
    env = dict(os.environ)
    vis = ["java"] + heap + ["-Dvisualizador.medir=sair", "-Dvisualizador.semDialogos=true", "-jar",
                             os.path.join(vis_programa, "jasperviewer.jar"), "Zarvent", relatorio, "VIS", "N"]
    busca = ["java"] + heap + ["-cp", cp, "BuscaCrua", "Zarvent", relatorio]
    apos_linha, desde_inicio, base = [], [], []
    env_vis = com_arquivo(vis_programa, env)
    for _ in range(reps):
        m, _ = marcas(vis, env_vis)
        apos_linha.append(m["primeira-pagina"] - m["primeira-linha"])
        desde_inicio.append(m["primeira-pagina"])
        m, _ = marcas(busca, env)
        base.append(m["primeira-linha"])
    a, d, b = statistics.median(apos_linha), statistics.median(desde_inicio), statistics.median(base)
    print("| 8. preview, first page on screen, %s size, -Xmx256m | %.2f s after the first line (%.2f s from start) "
          "| %.2f s bare fetch, start to first row | %.2f (extra %.2f s) |" % (tamanho, a, d, b, d / b, d - b))
    if inteira:
        vis[vis.index("-Dvisualizador.medir=sair")] = "-Dvisualizador.medir=fim"
        m, pico = marcas(vis, env_vis)
        print("| 8. preview of the whole report, %s size, -Xmx256m: start to the last page painted | %.1f s "
              "(report ended at %.1f s) | peak resident memory %.0f MB | |"
              % (tamanho, m["ultima-pagina"], m["fim"], pico))


def medir_busca(programa, bench, reps):
    relatorio = os.path.join(programa, "relatorios", "zv_relacao_produto_enderecamento")
    cp = ":".join([os.path.join(bench, "zvbench_visualizador.jar"), os.path.join(programa, "jasperviewer.jar")]
                  + ["/usr/share/java/%s.jar" % l for l in LIBS])
    subprocess.run(["java", "-Xmx256m", "-Djava.awt.headless=true", "-cp", cp, "visualizador.janela.MedirBusca",
                    "Zarvent", relatorio, str(reps)], check=True, stderr=subprocess.DEVNULL)


def main():
    if sys.argv[1] == "busca":
        medir_busca(sys.argv[2], sys.argv[3], int(sys.argv[4]) if len(sys.argv) > 4 else 5)
        return
    if sys.argv[1] == "previa":
        args = [a for a in sys.argv[2:] if a != "--inteira"]
        previa(args[0], args[1], args[2], int(args[3]) if len(args) > 3 else 5, "--inteira" in sys.argv)
        return
    modo, programa, bench = sys.argv[1], sys.argv[2], sys.argv[3]
    reps = int(sys.argv[4]) if len(sys.argv) > 4 else (7 if modo == "demo" else 3)
    tamanho = sys.argv[5] if len(sys.argv) > 5 else "benchmark"
    relatorio = os.path.join(programa, "relatorios", "zv_relacao_produto_enderecamento")
    cp = ":".join([os.path.join(bench, "zvbench_visualizador.jar"), os.path.join(programa, "jasperviewer.jar")]
                  + ["/usr/share/java/%s.jar" % l for l in LIBS])
    heap = ["-Xmx512m"] if modo == "grande" else []
    with tempfile.TemporaryDirectory() as tmp:
        # The viewer opens its file with xdg-open: a stand-in that does nothing.
        os.makedirs(os.path.join(tmp, "bin"))
        with open(os.path.join(tmp, "bin", "xdg-open"), "w") as f:
            f.write("#!/bin/sh\nexit 0\n")
        os.chmod(os.path.join(tmp, "bin", "xdg-open"), 0o755)
        env = dict(os.environ, HOME=tmp, XDG_CONFIG_HOME=os.path.join(tmp, "cfg"),
                   PATH=os.path.join(tmp, "bin") + ":" + os.environ["PATH"])
        env.pop("DISPLAY", None)
        vis_programa = instalado(programa, tmp)
        visualizador = ["java"] + heap + ["-jar", os.path.join(vis_programa, "jasperviewer.jar"), "Zarvent", relatorio,
                                          "PDF", "N"]
        busca = ["java"] + heap + ["-cp", cp, "BuscaCrua", "Zarvent", relatorio]
        env_vis = com_arquivo(vis_programa, env)
        nosso, base, paginas_base, pico = [], [], [], []
        linhas = paginas = 0
        for _ in range(reps):
            t, rss, saida = executa(visualizador, env_vis)
            arquivo = saida.strip().splitlines()[-1]
            texto = subprocess.run(["pdfinfo", arquivo], capture_output=True, text=True, check=True).stdout
            paginas = int(re.search(r"Pages:\s+(\d+)", texto).group(1))
            os.remove(arquivo)
            nosso.append(t)
            if rss:
                pico.append(rss)
            t, _, saida = executa(busca, env)
            linhas = int(saida.split()[0])
            base.append(t)
            if modo == "grande":
                # PDFBox keeps every page's objects until it saves: at the large size they do not fit
                # 512 MB, and the bare pages then get 3 GB.
                for heap_base in heap + ["-Xmx3g"]:
                    r = executa(["java", heap_base, "-cp", cp, "PaginasCruas", str(linhas),
                                 os.path.join(tmp, "cru.pdf"), str(paginas)], env, heap_base != "-Xmx3g")
                    if r:
                        paginas_base.append(r[0])
                        HEAP_BASE.add(heap_base)
                        break
        m_nosso, m_base = statistics.median(nosso), statistics.median(base)
        if modo == "demo":
            print("| 6. demo report to PDF, start to file written (%d lines, %d pages) | %.2f s | %.2f s | %.2f |"
                  % (linhas, paginas, m_nosso, m_base, m_nosso / m_base))
            return
        m_pag = statistics.median(paginas_base)
        limite = max(m_base, m_pag)
        print("| 7. %s report to PDF, -Xmx512m (%d lines, %d pages) | %.1f s | max(%.1f s, %.1f s pages %s) | %.2f |"
              % (tamanho, linhas, paginas, m_nosso, m_base, m_pag, "/".join(sorted(HEAP_BASE)), m_nosso / limite))
        print("|    lines per second | %.0f | %.0f | |" % (linhas / m_nosso, linhas / limite))
        print("|    pages per second | %.0f | | |" % (paginas / m_nosso))
        if pico:
            print("|    peak resident memory | %.0f MB | | |" % max(pico))
        print("|    processor time (user + system, median) | %.1f s | %.1f s fetch, %.1f s pages | |"
              % tuple(statistics.median(CPU[k]) for k in ("visualizador", "BuscaCrua", "PaginasCruas")))


if __name__ == "__main__":
    main()
